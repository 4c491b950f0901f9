// The help screen's cloud requests over HTTP to the loopback cloud: the exact bodies, the
// look-ups and their failures, the confirmation and the reset after a send.
#include "HelpScreenFixture.h"

#include "cloud/GlobalUserManager.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Helper.h"
#include "doubles/WaitFor.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace Path = AppConstants::API::Host::path;
namespace Alerts = AppConstants::Alerts::descriptions;

namespace {
// The e-mail's body after its intro and date, checking that a date of the right form is there.
QString afterDate(const QJsonObject& email, const QString& intro) {
    const QString body = email.value(u"body"_s).toString();
    const QRegularExpression form(
        u'^' + QRegularExpression::escape(intro) +
        uR"([A-Z][a-z]+ \d{1,2} \d{4} at \d{1,2}:\d\d [AP]M\(GMT -?\d+:\d\d\))"_s);
    const QRegularExpressionMatch match = form.match(body);
    return match.hasMatch() ? body.mid(match.capturedLength()) : u"<no date in> "_s + body;
}

QString systemInfo() {
    return Helper::getSystemInfo(GlobalUserManager::shared().currentUserFirmwareInfo, u"4.5.6"_s);
}
} // namespace

TEST_F(HelpScreenTest, LoadingLooksUpTheGuideTheAddressAndTheHistory) {
    openScreen();
    const auto lookups = cloud.requestsTo(Path::getFromZubAppConfig);
    ASSERT_EQ(lookups.size(), 2);
    EXPECT_EQ(lookups.at(0).body, QByteArray(R"({"Name":"USUserGuideLink"})"));
    EXPECT_EQ(lookups.at(1).body, QByteArray(R"({"Name":"ZubSupportEmail"})"));
    ASSERT_TRUE(waitFor([] { return GlobalUserManager::shared().auditHistory.has_value(); }));
    EXPECT_EQ(cloud.requestsTo(Path::getZubAuditHistory).first().body,
              QByteArray(R"({"userid":"user-42"})"));
    EXPECT_EQ(screen->userGuideLink, guideLink);
    EXPECT_EQ(screen->supportEmail, supportAddress);
    ASSERT_EQ(AppState::GetFromZubAppConfig.size(), 1);
    EXPECT_EQ(AppState::GetFromZubAppConfig.first().Value, supportAddress);

    // A history already held is not asked for again.
    openScreen();
    spinFor(50);
    EXPECT_EQ(cloud.requestsTo(Path::getZubAuditHistory).size(), 1);
}

TEST_F(HelpScreenTest, EachKindSendsItsExactBody) {
    openScreen();
    ASSERT_TRUE(waitFor([] { return GlobalUserManager::shared().auditHistory.has_value(); }));
    const QStringList withFile{u"FileName"_s, u"FileStream"_s, u"body"_s, u"subject"_s,
                               u"toAddress"_s};

    // Whatever the message holds arrives as typed.
    choose(HelpMenuType::TroubleShooting);
    const QString typed = QStringLiteral(
        "  \"Quotes\", back\\slash, {\"json\": [1]}\n\ttab\u00A0nbsp \U0001F9EA\U0001F3FD end  ");
    paste(typed);
    pressSend();
    ASSERT_TRUE(waitFor([this] { return emailRequests().size() == 1; }));
    QJsonObject sent = emailRequests().last().json();
    EXPECT_EQ(sent.keys(), withFile);
    EXPECT_EQ(sent.value(u"toAddress"_s).toString(), supportAddress);
    EXPECT_EQ(sent.value(u"subject"_s).toString(),
              u"Ostrivane Pellory App- Ostrivane Pellory App Troubleshooting Message"_s);
    EXPECT_EQ(afterDate(sent, u"An Ostrivane user submitted a Message on  "_s),
              u"\n\nMessage\n=======\n"_s + typed + systemInfo());
    EXPECT_EQ(sent.value(u"FileName"_s).toString(), u"ActivityHistoryLog.csv"_s);
    EXPECT_EQ(QByteArray::fromBase64(sent.value(u"FileStream"_s).toString().toLatin1()),
              QByteArray("Date, TransmitterID, FirmwareID, Code, Description\n"
                         "2026-12-01,T-100, F-2,8000003,Uploaded\n"));
    EXPECT_EQ(waitForAlert(), notification(Alerts::help));
    closeAlerts();

    // Without history the file is attached empty.
    GlobalUserManager::shared().auditHistory.reset();
    choose(HelpMenuType::Other);
    type(screen->troubleshootingTextView, u"Line one\nLine two"_s);
    pressSend();
    ASSERT_TRUE(waitFor([this] { return emailRequests().size() == 2; }));
    sent = emailRequests().last().json();
    EXPECT_EQ(sent.keys(), withFile);
    EXPECT_EQ(sent.value(u"subject"_s).toString(), u"Ostrivane Pellory App- Other Message"_s);
    EXPECT_EQ(afterDate(sent, u"An Ostrivane user submitted a Message on  "_s),
              u"\n\nMessage\n=======\nLine one\nLine two"_s + systemInfo());
    EXPECT_EQ(sent.value(u"FileStream"_s), QJsonValue(QString()));
    EXPECT_EQ(waitForAlert(), notification(Alerts::help));
    closeAlerts();

    choose(HelpMenuType::RequestCopy);
    fillAddress();
    screen->textFieldFirstName->setText(u"Zo\u00EB \"Z\""_s);
    pressSend();
    ASSERT_TRUE(waitFor([this] { return emailRequests().size() == 3; }));
    sent = emailRequests().last().json();
    EXPECT_EQ(sent.keys(), (QStringList{u"body"_s, u"subject"_s, u"toAddress"_s}));
    EXPECT_EQ(sent.value(u"subject"_s).toString(),
              QStringLiteral("Ostrivane Pellory App- Requesting a paper copy of the Ostrivane "
                             "Pellory App User Guide"));
    EXPECT_EQ(afterDate(sent, QStringLiteral("An Ostrivane user submitted a request for a paper "
                                             "copy of the Ostrivane Pellory User Guide on ")),
              QStringLiteral("\n\nShip to:\n======\nZo\u00EB \"Z\" Trovalle\n1 Main St\n\n\n"
                             "Springfield\nIL\n62701\n") +
                  systemInfo());
}

TEST_F(HelpScreenTest, ConfirmationFollowsTheKindChosenWhenTheAnswerArrives) {
    openScreen();
    cloud.route(u"POST"_s, Path::sendZubEmail,
                LoopbackCloud::Reply::json(QJsonObject{}).after(300));
    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, u"It beeps"_s);
    pressSend();
    EXPECT_FALSE(screen->btSend_viewTroubleshooting->isEnabled());
    choose(HelpMenuType::RequestCopy); // while the request is on its way
    EXPECT_EQ(waitForAlert(), notification(Alerts::userGuide));

    // Back to the state after loading.
    EXPECT_EQ(screen->popupButton->text(), u"Select an option"_s);
    EXPECT_TRUE(screen->viewEnterMessageTextView->isVisible());
    EXPECT_FALSE(screen->viewEnterAddress->isVisible());
    EXPECT_FALSE(screen->textFieldTextCount->isVisible());
    EXPECT_FALSE(screen->textFieldPlaceholder->isVisible());
    EXPECT_TRUE(screen->troubleshootingTextView->isReadOnly());
    EXPECT_EQ(messageText(), QString());
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
}

TEST_F(HelpScreenTest, FailedSendKeepsTheFormAndShowsNothing) {
    openScreen();
    cloud.route(u"POST"_s, Path::sendZubEmail, LoopbackCloud::Reply::text("no", 503));
    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, u"Please call"_s);
    pressSend();
    ASSERT_TRUE(waitFor([this] { return screen->btSend_viewTroubleshooting->isEnabled(); }));
    spinFor(50);
    EXPECT_TRUE(shownAlerts().isEmpty());
    EXPECT_EQ(messageText(), u"Please call"_s);
    EXPECT_EQ(screen->popupButton->text(), HelpMenu::title(HelpMenuType::TroubleShooting));
    EXPECT_EQ(newDebugLogLines()
                  .filter(QStringLiteral("function: sendEmail(subject:body:attachment:fileName:) "
                                         "| line: "))
                  .filter(u" | ERROR: "_s)
                  .size(),
              1);
}

TEST_F(HelpScreenTest, LookupsThatGiveNoValueLeaveItUnset) {
    answerConfig(AppConstants::Help::configSupportEmail,
                 LoopbackCloud::Reply::json(QJsonArray{QJsonObject{{u"Name"_s, u"x"_s}}}));
    answerConfig(AppConstants::Help::configUserGuideLink, LoopbackCloud::Reply::json(QJsonArray{}));
    openScreen(false);
    ASSERT_TRUE(waitFor([] { return AppState::GetFromZubAppConfig.size() == 1; }));
    ASSERT_TRUE(cloud.waitForRequests(3));
    spinFor(50);
    EXPECT_FALSE(screen->supportEmail.has_value());
    EXPECT_FALSE(screen->userGuideLink.has_value());

    // Every send then ends in the log, with the button usable again and nothing shown.
    const auto sendEndsInTheLog = [this](HelpMenuType kind) {
        choose(kind);
        type(screen->troubleshootingTextView, u"hello"_s);
        pressSend();
        EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
        spinFor(50);
        EXPECT_TRUE(emailRequests().isEmpty());
        EXPECT_TRUE(shownAlerts().isEmpty());
        const QStringList lines = newDebugLogLines();
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.last().contains(
            u"function: sendEmail(subject:body:attachment:fileName:) | line: "_s));
        EXPECT_TRUE(lines.last().endsWith(u" | ERROR: Support email is not present"_s));
    };
    sendEndsInTheLog(HelpMenuType::TroubleShooting);

    // A blank address is no address either: nobody would get the e-mail.
    answerConfig(AppConstants::Help::configSupportEmail,
                 LoopbackCloud::Reply::json(QJsonArray{QJsonObject{{u"Value"_s, u" "_s}}}));
    openScreen();
    sendEndsInTheLog(HelpMenuType::Other);
}

TEST_F(HelpScreenTest, LookupFailuresAreLoggedAndChangeNothing) {
    StructGetFromZubAppConfig earlier;
    earlier.Value = u"old@ostrivane.test"_s;
    AppState::GetFromZubAppConfig = {earlier};
    answerConfig(AppConstants::Help::configSupportEmail,
                 LoopbackCloud::Reply::json(QJsonArray{QJsonObject{{u"Value"_s, 5}}}));
    answerConfig(AppConstants::Help::configUserGuideLink, LoopbackCloud::Reply::empty(500));
    cloud.route(u"POST"_s, Path::getZubAuditHistory,
                LoopbackCloud::Reply::text(R"([{"AuditDate": "no id"}])"));
    openScreen(false);
    const auto logged = [this](const char* function) {
        return newDebugLogLines()
            .filter(u"file_name:OstivaneHelpViewController.cpp | function: "_s +
                    QLatin1String(function) + u" | line: "_s)
            .filter(u" | ERROR: "_s);
    };
    ASSERT_TRUE(waitFor([&] {
        return logged("callApiGetUserGuideLink()").size() == 1 &&
               logged("callApiGetNeedHelpEmailAddress()").size() == 1 &&
               logged("CallApiGetauditHistory()").size() == 1;
    }));
    EXPECT_TRUE(logged("callApiGetNeedHelpEmailAddress()")
                    .first()
                    .endsWith(u" | ERROR: [0].Value: expected text, found a number"_s));
    EXPECT_FALSE(screen->supportEmail.has_value());
    EXPECT_FALSE(screen->userGuideLink.has_value());
    ASSERT_EQ(AppState::GetFromZubAppConfig.size(), 1);
    EXPECT_EQ(AppState::GetFromZubAppConfig.first().Value, earlier.Value);
    EXPECT_FALSE(GlobalUserManager::shared().auditHistory.has_value());
    EXPECT_TRUE(shownAlerts().isEmpty());
}

TEST_F(HelpScreenTest, OfflineLoadShowsOneNoInternetAlert) {
    NetworkManager::shared().setConnected(false);
    openScreen(false);
    EXPECT_EQ(waitForAlert(),
              notification(CloudEnvironment::userText(AppConstants::Codes::noInternetConnection)));
    spinFor(50);
    EXPECT_EQ(shownAlerts().size(), 1);
    EXPECT_EQ(cloud.requestCount(), 0);
}

TEST_F(HelpScreenTest, AnswerAfterTheScreenIsGoneIsIgnored) {
    openScreen();
    cloud.route(u"POST"_s, Path::sendZubEmail,
                LoopbackCloud::Reply::json(QJsonObject{}).after(200));
    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, u"bye"_s);
    pressSend();
    ASSERT_TRUE(waitFor([this] { return emailRequests().size() == 1; }));
    screen.reset();
    spinFor(400);
    EXPECT_TRUE(shownAlerts().isEmpty());
}
