// The help screen's cloud requests over HTTP to the loopback cloud: the exact bodies, the
// look-ups and their failures, the confirmation and the reset after a send.
#include "HelpScreenFixture.h"

#include "cloud/GlobalUserManager.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Helper.h"
#include "doubles/WaitFor.h"

#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace {
const QString kDatePattern =
    QStringLiteral(R"([A-Z][a-z]+ \d{1,2} \d{4} at \d{1,2}:\d\d [AP]M\(GMT -?\d+:\d\d\))");

QStringList sortedKeys(const QJsonObject& object) {
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

// The body after "<intro><date>", checking that a date of the right form stands there.
QString afterDate(const QString& body, const QString& intro) {
    const QRegularExpression form(QStringLiteral("^") + QRegularExpression::escape(intro) +
                                  kDatePattern);
    const QRegularExpressionMatch match = form.match(body);
    if (!match.hasMatch())
        return QStringLiteral("<no date after the intro in: ") + body.left(120) + u'>';
    return body.mid(match.capturedLength());
}

QString expectedSystemInfo() {
    return Helper::getSystemInfo(GlobalUserManager::shared().currentUserFirmwareInfo,
                                 QStringLiteral("3.1.4"));
}
} // namespace

TEST_F(HelpScreenTest, LoadingLooksUpTheGuideTheAddressAndTheHistory) {
    openScreen();
    const auto lookups = cloud.requestsTo(AppConstants::API::Host::path::getFromZubAppConfig);
    ASSERT_EQ(lookups.size(), 2);
    EXPECT_EQ(lookups.at(0).json(),
              QJsonObject({{QStringLiteral("Name"), QStringLiteral("USUserGuideLink")}}));
    EXPECT_EQ(lookups.at(1).json(),
              QJsonObject({{QStringLiteral("Name"), QStringLiteral("ZubSupportEmail")}}));
    EXPECT_EQ(lookups.at(0).header("Content-Type"), QByteArray("application/json"));
    const auto history = cloud.requestsTo(AppConstants::API::Host::path::getZubAuditHistory);
    ASSERT_EQ(history.size(), 1);
    EXPECT_EQ(history.first().json(),
              QJsonObject({{QStringLiteral("userid"), QStringLiteral("user-42")}}));

    ASSERT_TRUE(waitFor([this] { return screen->userGuideLink.has_value(); }));
    EXPECT_EQ(screen->userGuideLink, guideLink);
    EXPECT_EQ(screen->supportEmail, supportAddress);
    ASSERT_EQ(AppState::GetFromZubAppConfig.size(), 1);
    EXPECT_EQ(AppState::GetFromZubAppConfig.first().Name, QStringLiteral("ZubSupportEmail"));
    ASSERT_TRUE(waitFor([] { return GlobalUserManager::shared().auditHistory.has_value(); }));
    ASSERT_EQ(GlobalUserManager::shared().auditHistory->size(), 1);
    EXPECT_EQ(GlobalUserManager::shared().auditHistory->first().transmitterID,
              QStringLiteral("T-100"));
}

TEST_F(HelpScreenTest, HistoryAlreadyHeldIsNotAskedForAgain) {
    AuditHistoryElement row;
    row.id = 1;
    GlobalUserManager::shared().auditHistory = QList<AuditHistoryElement>{row};
    GlobalUserManager::shared().currentUserFirmwareInfo.reset();
    openScreen(false);
    ASSERT_TRUE(cloud.waitForRequests(2));
    spinFor(100);
    EXPECT_TRUE(cloud.requestsTo(AppConstants::API::Host::path::getZubAuditHistory).isEmpty());

    // With history but no user record, a later fresh request names no user.
    GlobalUserManager::shared().auditHistory.reset();
    openScreen(false);
    ASSERT_TRUE(waitFor([this] {
        return !cloud.requestsTo(AppConstants::API::Host::path::getZubAuditHistory).isEmpty();
    }));
    EXPECT_EQ(cloud.requestsTo(AppConstants::API::Host::path::getZubAuditHistory).first().json(),
              QJsonObject({{QStringLiteral("userid"), QString()}}));
}

TEST_F(HelpScreenTest, TroubleshootingMessageArrivesExactlyAsTyped) {
    openScreen();
    ASSERT_TRUE(waitFor([] { return GlobalUserManager::shared().auditHistory.has_value(); }));
    choose(HelpMenuType::TroubleShooting);
    const QString typed = QStringLiteral(
        "  \"Quotes\", back\\slash, {\"json\": [1]}\n\ttab\u00A0nbsp \U0001F9EA\U0001F3FD end  ");
    paste(typed);
    pressSend();
    ASSERT_TRUE(waitFor([this] { return emailRequests().size() == 1; }));
    const QJsonObject sent = emailRequests().first().json();
    EXPECT_EQ(sortedKeys(sent),
              (QStringList{QStringLiteral("FileName"), QStringLiteral("FileStream"),
                           QStringLiteral("body"), QStringLiteral("subject"),
                           QStringLiteral("toAddress")}));
    EXPECT_EQ(sent.value(QStringLiteral("toAddress")).toString(), supportAddress);
    EXPECT_EQ(
        sent.value(QStringLiteral("subject")).toString(),
        QStringLiteral("Ostrivane Pellory App- Ostrivane Pellory App Troubleshooting Message"));
    EXPECT_EQ(afterDate(sent.value(QStringLiteral("body")).toString(),
                        QStringLiteral("An Ostrivane user submitted a Message on  ")),
              QStringLiteral("\n\nMessage\n=======\n") + typed + expectedSystemInfo());
    EXPECT_EQ(sent.value(QStringLiteral("FileName")).toString(),
              QStringLiteral("ActivityHistoryLog.csv"));
    const QByteArray csv =
        QByteArray::fromBase64(sent.value(QStringLiteral("FileStream")).toString().toLatin1(),
                               QByteArray::AbortOnBase64DecodingErrors);
    EXPECT_EQ(csv, QByteArray("Date, TransmitterID, FirmwareID, Code, Description\n"
                              "2026-12-01,T-100, F-2,8000003,Uploaded\n"));
}

TEST_F(HelpScreenTest, OtherMessageWithoutHistoryAttachesAnEmptyFile) {
    cloud.route(QStringLiteral("POST"), AppConstants::API::Host::path::getZubAuditHistory,
                LoopbackCloud::Reply::empty(500));
    openScreen();
    choose(HelpMenuType::Other);
    type(screen->troubleshootingTextView, QStringLiteral("Line one\nLine two"));
    pressSend();
    ASSERT_TRUE(waitFor([this] { return emailRequests().size() == 1; }));
    const QJsonObject sent = emailRequests().first().json();
    EXPECT_EQ(sent.value(QStringLiteral("subject")).toString(),
              QStringLiteral("Ostrivane Pellory App- Other Message"));
    EXPECT_EQ(afterDate(sent.value(QStringLiteral("body")).toString(),
                        QStringLiteral("An Ostrivane user submitted a Message on  ")),
              QStringLiteral("\n\nMessage\n=======\nLine one\nLine two") + expectedSystemInfo());
    EXPECT_EQ(sent.value(QStringLiteral("FileName")).toString(),
              QStringLiteral("ActivityHistoryLog.csv"));
    EXPECT_EQ(sent.value(QStringLiteral("FileStream")), QJsonValue(QString()));
}

TEST_F(HelpScreenTest, PaperCopyCarriesTheAddressAndNoAttachment) {
    openScreen();
    choose(HelpMenuType::RequestCopy);
    fillAddress();
    screen->textFieldFirstName->setText(QStringLiteral("Zo\u00EB \"Z\""));
    pressSend();
    ASSERT_TRUE(waitFor([this] { return emailRequests().size() == 1; }));
    const QJsonObject sent = emailRequests().first().json();
    EXPECT_EQ(sortedKeys(sent), (QStringList{QStringLiteral("body"), QStringLiteral("subject"),
                                             QStringLiteral("toAddress")}));
    EXPECT_EQ(sent.value(QStringLiteral("subject")).toString(),
              QStringLiteral("Ostrivane Pellory App- Requesting a paper copy of the Ostrivane "
                             "Pellory App User Guide"));
    EXPECT_EQ(afterDate(sent.value(QStringLiteral("body")).toString(),
                        QStringLiteral("An Ostrivane user submitted a request for a paper copy "
                                       "of the Ostrivane Pellory User Guide on ")),
              QStringLiteral("\n\nShip to:\n======\nZo\u00EB \"Z\" Byron\n1 Main St\n\n\n"
                             "Springfield\nIL\n62701\n") +
                  expectedSystemInfo());
}

TEST_F(HelpScreenTest, ConfirmationFollowsTheKindChosenWhenTheAnswerArrives) {
    openScreen();
    cloud.route(QStringLiteral("POST"), AppConstants::API::Host::path::sendZubEmail,
                LoopbackCloud::Reply::json(QJsonObject{}).after(300));
    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, QStringLiteral("It beeps"));
    pressSend();
    EXPECT_FALSE(screen->btSend_viewTroubleshooting->isEnabled());
    choose(HelpMenuType::RequestCopy); // while the request is in flight
    EXPECT_EQ(waitForAlert(),
              QStringLiteral("Notification\n") + AppConstants::Alerts::descriptions::userGuide);
    cloud.route(QStringLiteral("POST"), AppConstants::API::Host::path::sendZubEmail,
                LoopbackCloud::Reply::json(QJsonObject{}));

    // The screen is back to where it started.
    EXPECT_EQ(screen->popupButton->text(), QStringLiteral("Select an option"));
    EXPECT_TRUE(screen->viewEnterMessageTextView->isVisible());
    EXPECT_FALSE(screen->viewEnterAddress->isVisible());
    EXPECT_FALSE(screen->textFieldTextCount->isVisible());
    EXPECT_FALSE(screen->textFieldPlaceholder->isVisible());
    EXPECT_TRUE(screen->troubleshootingTextView->isReadOnly());
    EXPECT_EQ(messageText(), QString());
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
    closeAlerts();

    // A paper copy confirmed while still chosen gets its own text; a message the help text.
    choose(HelpMenuType::RequestCopy);
    fillAddress();
    pressSend();
    EXPECT_EQ(waitForAlert(),
              QStringLiteral("Notification\n") + AppConstants::Alerts::descriptions::userGuide);
    closeAlerts();
    choose(HelpMenuType::Other);
    type(screen->troubleshootingTextView, QStringLiteral("x"));
    pressSend();
    EXPECT_EQ(waitForAlert(),
              QStringLiteral("Notification\n") + AppConstants::Alerts::descriptions::help);
}

TEST_F(HelpScreenTest, FailedSendKeepsTheFormAndShowsNothing) {
    openScreen();
    cloud.route(QStringLiteral("POST"), AppConstants::API::Host::path::sendZubEmail,
                LoopbackCloud::Reply::text("down", 503));
    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, QStringLiteral("Please call"));
    pressSend();
    ASSERT_TRUE(waitFor([this] { return screen->btSend_viewTroubleshooting->isEnabled(); }));
    spinFor(50);
    EXPECT_TRUE(shownAlerts().isEmpty());
    EXPECT_EQ(messageText(), QStringLiteral("Please call"));
    EXPECT_EQ(screen->popupButton->text(), HelpMenu::title(HelpMenuType::TroubleShooting));
    const QStringList lines = newDebugLogLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().contains(
        QStringLiteral("function: sendEmail(subject:body:attachment:fileName:) | line: ")));
    EXPECT_TRUE(lines.last().contains(QStringLiteral(" | ERROR: ")));
}

TEST_F(HelpScreenTest, LookupWithoutAValueLeavesTheAddressUnset) {
    answerConfig(AppConstants::Help::configSupportEmail,
                 LoopbackCloud::Reply::json(QJsonArray{
                     QJsonObject{{QStringLiteral("Name"), QStringLiteral("ZubSupportEmail")}}}));
    answerConfig(AppConstants::Help::configUserGuideLink, LoopbackCloud::Reply::json(QJsonArray{}));
    openScreen(false);
    ASSERT_TRUE(cloud.waitForRequests(3));
    ASSERT_TRUE(waitFor([] { return AppState::GetFromZubAppConfig.size() == 1; }));
    EXPECT_FALSE(screen->supportEmail.has_value());
    EXPECT_FALSE(screen->userGuideLink.has_value());

    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, QStringLiteral("hello"));
    pressSend();
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
    spinFor(50);
    EXPECT_TRUE(emailRequests().isEmpty());
    EXPECT_TRUE(shownAlerts().isEmpty());
    const QStringList lines = newDebugLogLines();
    ASSERT_FALSE(lines.isEmpty());
    const QString logged = lines.last();
    EXPECT_TRUE(logged.contains(
        QStringLiteral("function: sendEmail(subject:body:attachment:fileName:) | line: ")));
    EXPECT_TRUE(logged.endsWith(QStringLiteral(" | ERROR: Support email is not present")));
}

TEST_F(HelpScreenTest, EmptyAnswerToTheAddressLookupLeavesItUnset) {
    StructGetFromZubAppConfig stale;
    stale.Value = QStringLiteral("old@ostrivane.test");
    AppState::GetFromZubAppConfig = {stale};
    answerConfig(AppConstants::Help::configSupportEmail, LoopbackCloud::Reply::json(QJsonArray{}));
    openScreen(false);
    ASSERT_TRUE(cloud.waitForRequests(3));
    ASSERT_TRUE(waitFor([] { return AppState::GetFromZubAppConfig.isEmpty(); }));
    EXPECT_FALSE(screen->supportEmail.has_value());
}

TEST_F(HelpScreenTest, LookupFailuresAreLoggedAndChangeNothing) {
    answerConfig(AppConstants::Help::configSupportEmail,
                 LoopbackCloud::Reply::json(QJsonArray{QJsonObject{{QStringLiteral("Value"), 5}}}));
    answerConfig(AppConstants::Help::configUserGuideLink, LoopbackCloud::Reply::empty(500));
    cloud.route(QStringLiteral("POST"), AppConstants::API::Host::path::getZubAuditHistory,
                LoopbackCloud::Reply::text("[{\"AuditDate\": \"no id\"}]"));
    openScreen(false);
    ASSERT_TRUE(cloud.waitForRequests(3));
    ASSERT_TRUE(waitFor([this] {
        const QStringList lines = newDebugLogLines();
        return lines.filter(QStringLiteral("function: callApiGetUserGuideLink() |")).size() == 1 &&
               lines.filter(QStringLiteral("function: callApiGetNeedHelpEmailAddress() |"))
                       .size() == 1 &&
               lines.filter(QStringLiteral("function: CallApiGetauditHistory() |")).size() == 2;
    }));
    const QStringList lines = newDebugLogLines();
    EXPECT_TRUE(lines.filter(QStringLiteral("function: callApiGetNeedHelpEmailAddress() |"))
                    .first()
                    .contains(QStringLiteral(" | ERROR: [0].Value")));
    EXPECT_TRUE(lines.filter(QStringLiteral("function: callApiGetUserGuideLink() |"))
                    .first()
                    .contains(QStringLiteral(" | ERROR: ")));
    EXPECT_FALSE(screen->supportEmail.has_value());
    EXPECT_FALSE(screen->userGuideLink.has_value());
    EXPECT_TRUE(AppState::GetFromZubAppConfig.isEmpty());
    EXPECT_FALSE(GlobalUserManager::shared().auditHistory.has_value());
    EXPECT_TRUE(shownAlerts().isEmpty());
}

TEST_F(HelpScreenTest, OfflineLoadShowsOneNoInternetAlert) {
    NetworkManager::shared().setConnected(false);
    openScreen(false);
    EXPECT_EQ(waitForAlert(), QStringLiteral("Notification\nNo internet connection."));
    spinFor(50);
    EXPECT_EQ(shownAlerts().size(), 1);
    EXPECT_EQ(cloud.requestCount(), 0);
    EXPECT_FALSE(screen->supportEmail.has_value());
}

TEST_F(HelpScreenTest, AnswerAfterTheScreenIsGoneIsIgnored) {
    openScreen();
    cloud.route(QStringLiteral("POST"), AppConstants::API::Host::path::sendZubEmail,
                LoopbackCloud::Reply::json(QJsonObject{}).after(200));
    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, QStringLiteral("bye"));
    pressSend();
    ASSERT_TRUE(waitFor([this] { return emailRequests().size() == 1; }));
    screen.reset();
    spinFor(400);
    EXPECT_TRUE(shownAlerts().isEmpty());
}
