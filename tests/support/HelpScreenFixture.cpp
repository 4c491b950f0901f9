#include "HelpScreenFixture.h"

#include "app/SceneRegistration.h"
#include "cloud/GlobalUserManager.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Logger.h"
#include "doubles/WaitFor.h"
#include "platform/BundleInfo.h"
#include "shell/OstrivaneCustomAlertView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
QStringList debugLogLines() {
    QFile file(Logger::currentFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

StructEuaMessage catalogueEntry(const QString& code, const QString& text) {
    StructEuaMessage entry;
    entry.messageCode = code;
    entry.messageDescription = QStringLiteral("log: ") + text;
    entry.messagerDescriptionUserFriendly = text;
    return entry;
}
} // namespace

void HelpScreenTest::SetUp() {
    ASSERT_TRUE(cloud.isListening());
    ASSERT_TRUE(infoDir.isValid());
    const QString infoPath = infoDir.filePath(QStringLiteral("Info.json"));
    QFile info(infoPath);
    ASSERT_TRUE(info.open(QIODevice::WriteOnly));
    info.write(
        QJsonDocument(QJsonObject{{AppConstants::Configurations::hostAPIURL, cloud.baseUrl()},
                                  {AppConstants::Configurations::bundleShortVersionString,
                                   QStringLiteral("3.1.4")}})
            .toJson());
    info.close();
    BundleInfo::setFilePath(infoPath);
    registerScenes(); // the alert sheet is a scene too
    debugLogMark = debugLogLines().size();

    AppState::EuaMessage = {
        catalogueEntry(AppConstants::Codes::helpScreenLoaded, QStringLiteral("Help opened")),
        catalogueEntry(AppConstants::Codes::userGuideRequested, QStringLiteral("Guide opened")),
        catalogueEntry(AppConstants::Codes::noInternetConnection,
                       QStringLiteral("No internet connection."))};
    AppState::GetFromZubAppConfig.clear();
    NetworkManager::shared().setConnected(true);
    GlobalUserManager::shared().clear();
    UserFirmwareInfo user;
    user.id = QStringLiteral("user-42");
    GlobalUserManager::shared().currentUserFirmwareInfo = user;

    // One route serves both look-ups; each answer is chosen by the row asked for.
    cloud.route(QStringLiteral("POST"), AppConstants::API::Host::path::getFromZubAppConfig,
                [this](const LoopbackCloud::Request& request) {
                    const QString asked = request.json().value(QStringLiteral("Name")).toString();
                    return configAnswers.value(asked, LoopbackCloud::Reply::empty(404));
                });
    answerConfig(AppConstants::Help::configSupportEmail,
                 configRow(AppConstants::Help::configSupportEmail, supportAddress));
    answerConfig(AppConstants::Help::configUserGuideLink,
                 configRow(AppConstants::Help::configUserGuideLink, guideLink));
    cloud.route(QStringLiteral("POST"), AppConstants::API::Host::path::getZubAuditHistory,
                LoopbackCloud::Reply::json(QJsonArray{QJsonObject{
                    {QStringLiteral("Id"), 7},
                    {QStringLiteral("AuditDate"), QStringLiteral("2026-12-01")},
                    {QStringLiteral("TransmitterID"), QStringLiteral("T-100")},
                    {QStringLiteral("FirmwareID"), QStringLiteral("F-2")},
                    {QStringLiteral("ErrorCode"), QStringLiteral("8000003")},
                    {QStringLiteral("FailureDescription"), QStringLiteral("Uploaded")}}}));
    cloud.route(QStringLiteral("POST"), AppConstants::API::Host::path::sendZubEmail,
                LoopbackCloud::Reply::json(QJsonObject{}));
}

void HelpScreenTest::TearDown() {
    closeAlerts();
    screen.reset();
    BundleInfo::setFilePath(QString());
    NetworkManager::shared().setConnected(true);
    GlobalUserManager::shared().clear();
    AppState::EuaMessage.clear();
}

void HelpScreenTest::answerConfig(const QString& name, const LoopbackCloud::Reply& reply) {
    configAnswers.insert(name, reply);
}

LoopbackCloud::Reply HelpScreenTest::configRow(const QString& name, const QString& value) {
    return LoopbackCloud::Reply::json(
        QJsonArray{QJsonObject{{QStringLiteral("Name"), name},
                               {QStringLiteral("Value"), value},
                               {QStringLiteral("Language"), QStringLiteral("en")},
                               {QStringLiteral("ActiveFlag"), true}}});
}

OstivaneHelpViewController* HelpScreenTest::openScreen(bool waitForLookups) {
    screen = std::make_unique<OstivaneHelpViewController>();
    screen->resize(900, 700);
    screen->show();
    screen->loadViewIfNeeded();
    if (waitForLookups) {
        // Two look-ups, and the audit history while the app holds none.
        EXPECT_TRUE(cloud.waitForRequests(3));
        EXPECT_TRUE(waitFor([this] { return screen->supportEmail.has_value(); }));
    }
    return screen.get();
}

QAction* HelpScreenTest::menuItem(HelpMenuType type) const {
    for (QAction* item : screen->helpDropDown->actions()) {
        if (item->text() == HelpMenu::title(type))
            return item;
    }
    ADD_FAILURE() << "no menu item for " << HelpMenu::title(type).toStdString();
    return nullptr;
}

void HelpScreenTest::choose(HelpMenuType type) const {
    if (QAction* item = menuItem(type))
        item->trigger();
}

void HelpScreenTest::type(QWidget* widget, const QString& text) {
    widget->setFocus();
    for (QChar c : text) {
        const int key = c == u'\n' ? int(Qt::Key_Return) : int(c.toUpper().unicode());
        const QString typed = c == u'\n' ? QStringLiteral("\r") : QString(c);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

void HelpScreenTest::paste(const QString& text) const {
    QApplication::clipboard()->setText(text);
    screen->troubleshootingTextView->paste();
}

QString HelpScreenTest::messageText() const {
    return screen->troubleshootingTextView->toPlainText();
}

void HelpScreenTest::fillAddress() const {
    screen->textFieldFirstName->setText(QStringLiteral("Ada"));
    screen->textFieldLastName->setText(QStringLiteral("Byron"));
    screen->textFieldAddress->setText(QStringLiteral("1 Main St"));
    screen->textFieldCity->setText(QStringLiteral("Springfield"));
    screen->textFieldState->setText(QStringLiteral("IL"));
    screen->textFieldZip->setText(QStringLiteral("62701"));
}

void HelpScreenTest::pressSend() const {
    screen->btSend_viewTroubleshooting->click();
}

QStringList HelpScreenTest::shownAlerts() {
    QStringList alerts;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (!dialog || !dialog->isVisible())
            continue;
        for (auto* alert : dialog->findChildren<OstrivaneCustomAlertView*>()) {
            QString text = alert->labelHeaderPrimary()->text();
            if (alert->labelHeaderSecondary()->isVisibleTo(alert))
                text += u'\n' + alert->labelHeaderSecondary()->text();
            alerts.append(text + u'\n' + alert->labelMessage()->text());
        }
    }
    return alerts;
}

QString HelpScreenTest::waitForAlert(int timeoutMs) {
    waitFor([] { return !shownAlerts().isEmpty(); }, timeoutMs);
    const QStringList alerts = shownAlerts();
    return alerts.isEmpty() ? QString() : alerts.first();
}

void HelpScreenTest::closeAlerts() {
    // As the user does: the alert's one button.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (!dialog || !dialog->isVisible())
            continue;
        for (auto* alert : dialog->findChildren<OstrivaneCustomAlertView*>())
            alert->buttonClose()->click();
    }
    waitFor([] { return shownAlerts().isEmpty(); }, 1000);
}

QList<LoopbackCloud::Request> HelpScreenTest::emailRequests() const {
    return cloud.requestsTo(AppConstants::API::Host::path::sendZubEmail);
}

QStringList HelpScreenTest::newDebugLogLines() const {
    return debugLogLines().mid(debugLogMark);
}
