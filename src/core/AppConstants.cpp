#include "core/AppConstants.h"

#include "core/Configuration.h"

namespace {
QString commLib(const QString& path) {
    return BaseURLs::value(BaseURLKeys::hostCommLibAPIURL) + path;
}
QString host(const QString& path) {
    return BaseURLs::value(BaseURLKeys::hostAPIURL) + path;
}
QString web(const QString& path) {
    return BaseURLs::value(BaseURLKeys::hostWebURL) + path;
}
} // namespace

namespace AppConstants::API {

namespace CommLib {
QString baseURL() {
    return commLib({});
}
QString login() {
    return commLib(path::login);
}
QString secureChannel() {
    return commLib(path::secureChannel);
}
QString txSensorInfoCommand() {
    return commLib(path::txSensorInfoCommand);
}
QString txSensorInfoResponse() {
    return commLib(path::txSensorInfoResponse);
}
QString versionInfoRequest() {
    return commLib(path::versionInfoRequest);
}
QString linkStateRequest() {
    return commLib(path::linkStateRequest);
}
QString logClassMapping() {
    return commLib(path::logClassMapping);
}
QString logUsageResponses() {
    return commLib(path::logUsageResponses);
}
QString readPatientSettings() {
    return commLib(path::readPatientSettings);
}
QString tagClassMapping() {
    return commLib(path::tagClassMapping);
}
QString SendTagClassResponsedBytes() {
    return commLib(path::SendTagClassResponsedBytes);
}
QString logDataHeader() {
    return commLib(path::logDataHeader);
}
QString getCommandBytesForLogs() {
    return commLib(path::getCommandBytesForLogs);
}
QString getLogTypes() {
    return getCommandBytesForLogs();
}
QString sendLogTypeResponsedBytes() {
    return commLib(path::sendLogTypeResponsedBytes);
}
QString logHeaderMapping() {
    return commLib(path::logHeaderMapping);
}
QString logInfoHeaderMapping() {
    return commLib(path::logInfoHeaderMapping);
}
QString logEnumMapping() {
    return commLib(path::logEnumMapping);
}
QString logData() {
    return commLib(path::logData);
}
QString logDataSendResponsedBytes() {
    return commLib(path::logDataSendResponsedBytes);
}
} // namespace CommLib

namespace Host {
QString baseURL() {
    return host({});
}
QString getFromZubAppConfig() {
    return host(path::getFromZubAppConfig);
}
QString sendZubEmail() {
    return host(path::sendZubEmail);
}
QString getZubAuditHistory() {
    return host(path::getZubAuditHistory);
}
QString setZubAuditHistory() {
    return host(path::setZubAuditHistory);
}
QString getEuaMessages() {
    return host(path::getEuaMessages);
}
QString getUserQuizTracker() {
    return host(path::getUserQuizTracker);
}
QString setUserQuizTracker() {
    return host(path::setUserQuizTracker);
}
QString submitQuizResults() {
    return host(path::submitQuizResults);
}
QString getFirmwareQuiz() {
    return host(path::getFirmwareQuiz);
}
} // namespace Host

namespace Web {
QString baseURL() {
    return web({});
}
QString QXJDiagnosticsLogs() {
    return web(path::QXJDiagnosticsLogs);
}
} // namespace Web

namespace Authentication {
QString baseURL() {
    return BaseURLs::value(BaseURLKeys::hostAuthenticationURL);
}
QString token() {
    return baseURL() + path::token;
}
} // namespace Authentication

namespace Vault {
QString baseURL() {
    return BaseURLs::value(BaseURLKeys::hostVaultURL);
}
QString getTxFleetSecret() {
    return baseURL() + path::getTxFleetSecret;
}
} // namespace Vault

} // namespace AppConstants::API
