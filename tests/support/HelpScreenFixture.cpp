#include "HelpScreenFixture.h"

#include "app/SceneRegistration.h"
#include "cloud/GlobalUserManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Logger.h"
#include "doubles/WaitFor.h"
#include "shell/OstrivaneCustomAlertView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace Path = AppConstants::API::Host::path;

namespace {
QStringList debugLogLines() {
    QFile file(Logger::currentFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

LoopbackCloud::Reply configRow(const QString& name, const QString& value) {
    return LoopbackCloud::Reply::json(
        QJsonArray{QJsonObject{{u"Name"_s, name}, {u"Value"_s, value}, {u"ActiveFlag"_s, true}}});
}
} // namespace

void HelpScreenTest::SetUp() {
    registerScenes(); // the alert sheet is a scene too
    debugLogMark = debugLogLines().size();
    AppState::EuaMessage = {CloudEnvironment::entry(AppConstants::Codes::helpScreenLoaded),
                            CloudEnvironment::entry(AppConstants::Codes::userGuideRequested),
                            CloudEnvironment::entry(AppConstants::Codes::noInternetConnection)};
    AppState::GetFromZubAppConfig.clear();
    GlobalUserManager::shared().clear();
    GlobalUserManager::shared().currentUserFirmwareInfo = UserFirmwareInfo{};
    GlobalUserManager::shared().currentUserFirmwareInfo->id = u"user-42"_s;

    // One route serves both look-ups; each answer is chosen by the row asked for.
    cloud.route(u"POST"_s, Path::getFromZubAppConfig,
                [this](const LoopbackCloud::Request& request) {
                    const QString name = request.json().value(u"Name"_s).toString();
                    return configAnswers.value(name, LoopbackCloud::Reply::empty(404));
                });
    answerConfig(AppConstants::Help::configSupportEmail,
                 configRow(AppConstants::Help::configSupportEmail, supportAddress));
    answerConfig(AppConstants::Help::configUserGuideLink,
                 configRow(AppConstants::Help::configUserGuideLink, guideLink));
    cloud.route(u"POST"_s, Path::getZubAuditHistory,
                LoopbackCloud::Reply::json(
                    QJsonArray{QJsonObject{{u"Id"_s, 7},
                                           {u"AuditDate"_s, u"2026-12-01"_s},
                                           {u"TransmitterID"_s, u"T-100"_s},
                                           {u"FirmwareID"_s, u"F-2"_s},
                                           {u"ErrorCode"_s, u"8000003"_s},
                                           {u"FailureDescription"_s, u"Uploaded"_s}}}));
    cloud.route(u"POST"_s, Path::sendZubEmail, LoopbackCloud::Reply::json(QJsonObject{}));
}

void HelpScreenTest::TearDown() {
    closeAlerts();
    screen.reset();
    GlobalUserManager::shared().clear();
}

void HelpScreenTest::openScreen(bool waitForLookups) {
    screen = std::make_unique<OstivaneHelpViewController>();
    screen->resize(900, 700);
    screen->show();
    if (waitForLookups) {
        ASSERT_TRUE(waitFor([this] { return screen->supportEmail.has_value(); }));
    }
}

void HelpScreenTest::choose(HelpMenuType type) const {
    for (QAction* item : screen->helpDropDown->actions()) {
        if (item->text() == HelpMenu::title(type))
            return item->trigger();
    }
    ADD_FAILURE() << "no menu item " << HelpMenu::title(type).toStdString();
}

void HelpScreenTest::type(QWidget* widget, const QString& text) {
    widget->setFocus();
    for (QChar c : text) {
        const bool enter = c == u'\n';
        const int key = enter ? int(Qt::Key_Return) : int(c.toUpper().unicode());
        const QString typed = enter ? u"\r"_s : QString(c);
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
    screen->textFieldFirstName->setText(u"Wenna"_s);
    screen->textFieldLastName->setText(u"Trovalle"_s);
    screen->textFieldAddress->setText(u"1 Main St"_s);
    screen->textFieldCity->setText(u"Springfield"_s);
    screen->textFieldState->setText(u"IL"_s);
    screen->textFieldZip->setText(u"62701"_s);
}

void HelpScreenTest::pressSend() const {
    screen->btSend_viewTroubleshooting->click();
}

QStringList HelpScreenTest::shownAlerts() {
    QStringList alerts;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!qobject_cast<QDialog*>(window) || !window->isVisible())
            continue;
        for (auto* alert : window->findChildren<OstrivaneCustomAlertView*>()) {
            EXPECT_FALSE(alert->labelHeaderSecondary()->isVisibleTo(alert));
            alerts.append(alert->labelHeaderPrimary()->text() + u'\n' +
                          alert->labelMessage()->text());
        }
    }
    return alerts;
}

QString HelpScreenTest::waitForAlert() {
    waitFor([] { return !shownAlerts().isEmpty(); }, 3000);
    const QStringList alerts = shownAlerts();
    return alerts.isEmpty() ? QString() : alerts.first();
}

void HelpScreenTest::closeAlerts() {
    // As the user does: with the alert's one button.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QDialog*>(window) && window->isVisible()) {
            for (auto* alert : window->findChildren<OstrivaneCustomAlertView*>())
                alert->buttonClose()->click();
        }
    }
    waitFor([] { return shownAlerts().isEmpty(); }, 1000);
}

QList<LoopbackCloud::Request> HelpScreenTest::emailRequests() const {
    return cloud.requestsTo(Path::sendZubEmail);
}

QStringList HelpScreenTest::newDebugLogLines() const {
    return debugLogLines().mid(debugLogMark);
}
