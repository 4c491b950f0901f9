#include "LogsScreenFixture.h"

#include "app/SceneRegistration.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Helper.h"
#include "doubles/WaitFor.h"
#include "models/LogBytes.h"
#include "platform/BundleInfo.h"
#include "platform/NotificationCenter.h"
#include "platform/TimeScale.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "shell/OstrivaneListViewController.h"
#include "shell/OstrivaneSplitViewController.h"
#include "transmitter/ORSSerialPortHandler.h"
#include "transmitter/SecureChannelAttributes.h"
#include "transmitter/TxInfo.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace Codes = AppConstants::Codes;
namespace Keys = AppConstants::Configurations;

NotificationTrail::NotificationTrail(const QStringList& watched) {
    for (const QString& name : watched) {
        NotificationCenter::defaultCenter().addObserver(this, name,
                                                        [this, name](const QVariant& object) {
                                                            names.append(name);
                                                            objects.append(object);
                                                        });
    }
}

NotificationTrail::~NotificationTrail() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void LogsScreenTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    TimeScale::setFactor(timeScale);
    registerScenes();
    env = std::make_unique<CloudEnvironment>();

    // The application's information: every cloud address at the loopback cloud, the
    // pseudo-terminal as the cradle.
    const QString base = env->cloud.baseUrl();
    const QString devicePath = dir.filePath(QStringLiteral("cradle"));
    const QJsonObject info{{Keys::bundleShortVersionString, appVersion},
                           {Keys::hostAPIURL, base},
                           {Keys::hostWebURL, base},
                           {Keys::hostCommLibAPIURL, base + options.commLibPrefix},
                           {Keys::serialDevicePath, devicePath}};
    const QString infoPath = dir.filePath(QStringLiteral("Info.json"));
    QFile infoFile(infoPath);
    ASSERT_TRUE(infoFile.open(QIODevice::WriteOnly));
    infoFile.write(QJsonDocument(info).toJson());
    infoFile.close();
    BundleInfo::setFilePath(infoPath);

    AppState::EuaMessage.clear();
    for (const QString& code :
         {Codes::transmitterNotFoundOrAnyErrorOccured, Codes::noInternetConnection,
          Codes::checkInternetConnectionBeforeUpload, Codes::initiatedSupportUpload,
          Codes::logFileDownloaded, Codes::supportUploadSuccess, Codes::missingMessage})
        AppState::EuaMessage.append(CloudEnvironment::entry(code));

    SecureChannelAttributes& channel = SecureChannelAttributes::shared();
    channel.sessionKeyPair = QStringLiteral("session-key-pair");
    channel.secureChannelToken = QStringLiteral("secure-channel-token");
    channel.TxMsgSeqNum = firstSequenceNumber;
    LogBytes::shared().TxInfoBytes = txInfoBytes.toLatin1();
    TxInfo::shared().serialNum = serialNumber;
    AppState::defaults().removeObject(AppConstants::userdefaultKeys::logFileName);
    const std::optional<QString> folder = Helper::getDirectoryUrl();
    ASSERT_TRUE(folder && folder->startsWith(QDir::homePath())); // the tests' own home
    QDir(*folder).removeRecursively();

    transmitter = std::make_unique<PtyTransmitter>(devicePath);
    ASSERT_TRUE(transmitter->open());
    ORSSerialPortHandler::shared().startMonitoring();
    ASSERT_TRUE(waitFor([] { return ORSSerialPortHandler::shared().isSerialPortAvailable(); }));

    window = std::make_unique<MainWindow>();
    window->show();
    ASSERT_TRUE(waitFor([&] {
        return qobject_cast<OstrivaneWelcomeScreen*>(
                   window->splitViewController()->detailViewController()) != nullptr;
    }));
    welcome = qobject_cast<OstrivaneWelcomeScreen*>(
        window->splitViewController()->detailViewController());
}

void LogsScreenTest::TearDown() {
    window.reset();
    ORSSerialPortHandler::shared().stopMonitoring();
    ORSSerialPortHandler::shared().setDelegate(nullptr);
    spinFor(20); // deferred deletions and queued calls of the closed window
    transmitter.reset();
    scenario.reset();
    env.reset();
    LogBytes::shared().logUsageBytesList.clear();
    LogBytes::shared().logTagClassListBytesList.clear();
    TimeScale::setFactor(1.0);
}

void LogsScreenTest::startUpload() {
    scenario = std::make_unique<SupportUploadScenario>(env->cloud, *transmitter, options);
    scenario->install();
    ASSERT_TRUE(welcome);
    welcome->pushToLogsViewController();
    screen = qobject_cast<OstrivaneLogsViewController*>(welcome->logsChildViewController());
    ASSERT_TRUE(screen);
}

bool LogsScreenTest::waitForEnd(int timeoutMs) {
    return waitFor(
        [&] {
            if (!screen)
                return false;
            const auto state = screen->runState();
            if (state == OstrivaneLogsViewController::RunState::completed)
                return screen->uploadCompleteView->isVisible() && interfaceUnlocked();
            return state == OstrivaneLogsViewController::RunState::failed && interfaceUnlocked() &&
                   shownAlert();
        },
        timeoutMs);
}

bool LogsScreenTest::waitForCompletion(int timeoutMs) {
    return waitForEnd(timeoutMs) &&
           screen->runState() == OstrivaneLogsViewController::RunState::completed;
}

bool LogsScreenTest::interfaceUnlocked() const {
    return window->splitViewController()->listViewController()->listView()->isEnabled() &&
           window->logoutButton()->isEnabled() && window->isCloseButtonEnabled();
}

bool LogsScreenTest::interfaceLocked() const {
    return !window->splitViewController()->listViewController()->listView()->isEnabled() &&
           !window->logoutButton()->isEnabled() && !window->isCloseButtonEnabled();
}

OstrivaneCustomAlertView* LogsScreenTest::shownAlert() const {
    for (QDialog* dialog : window->findChildren<QDialog*>()) {
        if (dialog->isVisible())
            if (auto* alert = dialog->findChild<OstrivaneCustomAlertView*>())
                return alert;
    }
    return nullptr;
}

int LogsScreenTest::openAlerts() const {
    int open = 0;
    for (OstrivaneCustomAlertView* alert : window->findChildren<OstrivaneCustomAlertView*>())
        open += alert->isVisible() ? 1 : 0;
    return open;
}

QString LogsScreenTest::alertText() const {
    OstrivaneCustomAlertView* alert = shownAlert();
    return alert ? alert->labelMessage()->text() : QString();
}

QString LogsScreenTest::waitForAlertText(int timeoutMs) const {
    waitFor([&] { return shownAlert() != nullptr; }, timeoutMs);
    return alertText();
}

bool LogsScreenTest::closeAlertForANewUpload() {
    OstrivaneCustomAlertView* alert = shownAlert();
    if (!alert)
        return false;
    alert->buttonClose()->click();
    const auto newWelcome = [&] {
        return qobject_cast<OstrivaneWelcomeScreen*>(
            window->splitViewController()->detailViewController());
    };
    if (!waitFor([&] { return newWelcome() && newWelcome() != welcome && !shownAlert(); }))
        return false;
    welcome = newWelcome();
    transmitter->clearRules(); // the next scenario answers afresh
    return true;
}

QStringList LogsScreenTest::commLibRequests() const {
    QStringList paths;
    for (const LoopbackCloud::Request& request : env->cloud.requests()) {
        if (!request.path.startsWith(options.commLibPrefix))
            continue;
        QString path = request.path.mid(options.commLibPrefix.size());
        if (!request.query.isEmpty())
            path += u'?' + request.query.toString();
        paths.append(path);
    }
    return paths;
}

QList<LoopbackCloud::Request> LogsScreenTest::commLibRequestsTo(const QString& path) const {
    return env->cloud.requestsTo(commLib(path));
}

QByteArray LogsScreenTest::commandBytes(const QStringList& tags) {
    QByteArray bytes;
    for (const QString& tag : tags)
        bytes += SupportUploadScenario::command(tag);
    return bytes;
}

QString LogsScreenTest::storedLogFileName() {
    return AppState::defaults()
        .string(AppConstants::userdefaultKeys::logFileName)
        .value_or(QString());
}

QStringList LogsScreenTest::appFolderFiles() {
    const std::optional<QString> folder = Helper::getDirectoryUrl();
    if (!folder)
        return {};
    return QDir(*folder).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
}
