#include "support/LogRequestBody.h"

#include "core/AppConstants.h"
#include "models/LogBytes.h"

namespace Keys = AppConstants::CommLibKeys;

namespace {

QVariantMap channel(const ChannelKeys& keys) {
    return {{Keys::sessionKeyPair, keys.sessionKeyPair},
            {Keys::secureChannelToken, keys.secureChannelToken}};
}

} // namespace

QVariantMap LogRequestBody::command(const ChannelKeys& keys, qint64 sequenceNumber) {
    QVariantMap body = channel(keys);
    body.insert(Keys::txMsgSeqNum, QString::number(sequenceNumber));
    return body;
}

QVariantMap LogRequestBody::logUsageList(const ChannelKeys& keys, qint64 sequenceNumber,
                                         const LogBytes& bytes) {
    QVariantMap body = command(keys, sequenceNumber);
    body.insert(Keys::logClassMappingResponseBytes, bytes.logClassMappingBytes);
    return body;
}

QVariantMap LogRequestBody::tagClassList(const ChannelKeys& keys, qint64 sequenceNumber,
                                         const LogBytes& bytes) {
    QVariantMap body = command(keys, sequenceNumber);
    body.insert(Keys::bytes, bytes.logTagClassMappingBytes);
    return body;
}

QVariantMap LogRequestBody::header(const ChannelKeys& keys, const LogBytes& bytes) {
    QVariantMap body = channel(keys);
    body.insert(Keys::txSensorInfoResponseBytes, bytes.TxInfoBytes);
    body.insert(Keys::versionInfoResponseBytes, bytes.logVersionBytes);
    body.insert(Keys::linkStateResponseBytes, bytes.logLinkStateBytes);
    body.insert(Keys::readPatientSettingsResponseBytes, bytes.logReadPatientSettingsBytes);
    body.insert(Keys::logClassMappingResponseBytes, bytes.logClassMappingBytes);
    body.insert(Keys::logUsageMappingResponseBytesList, bytes.logUsageBytesList);
    body.insert(Keys::tagClassMappingResponseBytes, bytes.logTagClassMappingBytes);
    body.insert(Keys::tagClassListResponseBytesList, bytes.logTagClassListBytesList);
    return body;
}

QVariantMap LogRequestBody::logTypesReply(const ChannelKeys& keys, const QString& replyBytes) {
    QVariantMap body = channel(keys);
    body.insert(Keys::bytes, replyBytes);
    return body;
}

QVariantMap LogRequestBody::logDataReply(const ChannelKeys& keys, const LogBytes& bytes,
                                         const QString& logName) {
    QVariantMap body = logTypesReply(keys, bytes.logDataBytes);
    body.insert(Keys::logName, logName);
    body.insert(Keys::txSensorInfoResponseBytes, bytes.TxInfoBytes);
    body.insert(Keys::lhMappingResponseBytes, bytes.logHeaderMappingBytes);
    body.insert(Keys::lhInfoMappingResponseBytes, bytes.logInfoHeaderMappingBytes);
    body.insert(Keys::lgEnumMappingResponseBytes, bytes.logEnumBytes);
    return body;
}
