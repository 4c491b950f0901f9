#include "app/AppDelegate.h"

#include "cloud/GlobalManager.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Configuration.h"
#include "core/Helper.h"
#include "core/Logger.h"
#include "core/PendingWrites.h"
#include "models/EuaMessage.h"
#include "platform/BundleInfo.h"
#include "platform/QuitOnSignals.h"
#include "shell/MainWindow.h"
#include "shell/OstrivaneAlerts.h"
#include "shell/OstrivaneSplitViewController.h"
#include "transmitter/ORSSerialPortHandler.h"
#include "transmitter/TxInfo.h"

#include <QApplication>
#include <QLocale>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

namespace {

StructEuaMessage localMissingMessageRecord() {
    StructEuaMessage record;
    record.messageCode = AppConstants::Codes::missingMessage;
    record.language = AppConstants::LocalCatalogue::language;
    record.messageDescription = AppConstants::LocalCatalogue::missingMessageDescription;
    record.messagerDescriptionUserFriendly = AppConstants::LocalCatalogue::missingMessageText;
    record.isShowCode = false;
    return record;
}

bool isLocalRecord(const StructEuaMessage& entry) {
    return entry.messageCode == AppConstants::Codes::missingMessage &&
           entry.messageDescription == AppConstants::LocalCatalogue::missingMessageDescription;
}

void logFailure(const QString& error) {
    Logger::log(LOG_PREFIX_FN("callApiGetEuaMessages()") + AppConstants::DebugLog::errorLabel +
                error);
}

} // namespace

void AppDelegate::applicationDidFinishLaunching() {
#ifdef Q_OS_UNIX
    // A write past the file-size limit then fails with EFBIG, like one on a full disk, instead
    // of ending the application before any window shows.
    ::signal(SIGXFSZ, SIG_IGN);
#endif
    AppState::g_currentAppVersion = Configs::value(ConfigsKeys::bundleShortVersionString);
    if (std::none_of(AppState::EuaMessage.cbegin(), AppState::EuaMessage.cend(), isLocalRecord))
        AppState::EuaMessage.append(localMissingMessageRecord());
    Helper::createFolderInsideApplicationSupportIfNotExist();
    QLocale::setDefault(QLocale(QLocale::English));
    QApplication::setQuitOnLastWindowClosed(true);
    // A change the disk refused gets a last try however the application ends.
    QuitOnSignals::install();
    [[maybe_unused]] static const QMetaObject::Connection quitting = QObject::connect(
        qApp, &QCoreApplication::aboutToQuit, qApp, [] { PendingWrites::writeAllAtQuit(); });
    Logger::setSerialNumberProvider([] { return TxInfo::shared().serialNum; });
}

void AppDelegate::callApiGetEuaMessages(std::function<void(bool received)> done) {
    GlobalManager::shared().callAPI(
        AppConstants::API::Host::getEuaMessages(), HTTPMethod::GET, {},
        [done = std::move(done)](const APIResult& result) {
            bool received = false;
            if (!result.ok()) {
                logFailure(result.error().localizedDescription());
            } else if (auto decoded = JsonDecoder::decodeArray<StructEuaMessage>(result.data());
                       !decoded) {
                logFailure(decoded.error());
            } else {
                QList<StructEuaMessage> catalogue = std::move(decoded).value();
                catalogue.append(localMissingMessageRecord());
                AppState::EuaMessage = std::move(catalogue);
                received = true;
            }
            if (done)
                done(received);
        });
}

void AppDelegate::startServices() {
    NetworkManager::shared().startMonitoring();
    ORSSerialPortHandler::shared().startMonitoring();
}

void AppDelegate::reportUnreadableInformationFile(MainWindow& window) {
    const std::optional<QString> reason = BundleInfo::readError();
    if (!reason)
        return;
    addAlertView(window.splitViewController()->detailViewController(),
                 AppConstants::Alerts::titles::notification, std::nullopt,
                 AppConstants::Alerts::descriptions::informationFileUnreadable.arg(
                     BundleInfo::filePath(), *reason),
                 true);
}
