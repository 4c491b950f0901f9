// The help screen's forms on real widgets: what each request kind shows and empties, the
// message limit, the zip filter, the checks before sending and the user-guide button.
#include "HelpScreenFixture.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"
#include "platform/NotificationCenter.h"
#include "platform/TimeScale.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace Alerts = AppConstants::Alerts::descriptions;

namespace {
// Stands in for the browser: keeps what the screen asks the desktop to open.
class Browser : public QObject {
    Q_OBJECT
public:
    Browser() { QDesktopServices::setUrlHandler(u"https"_s, this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler(u"https"_s); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};
} // namespace

TEST_F(HelpScreenTest, ChoosingAKindSwitchesTheFormAndEmptiesWhatItShould) {
    openScreen();
    QStringList titles;
    for (QAction* item : screen->helpDropDown->actions())
        titles.append(item->text());
    EXPECT_EQ(titles, (QStringList{u"Select an option"_s, u"Ostrivane Pellory Troubleshooting"_s,
                                   QStringLiteral("Requesting a paper copy of the Ostrivane "
                                                  "Pellory User Guide"),
                                   u"Other"_s}));
    // Loaded: nothing chosen, the message form locked, no counter or placeholder.
    EXPECT_EQ(screen->popupButton->text(), u"Select an option"_s);
    EXPECT_FALSE(screen->viewEnterAddress->isVisible());
    EXPECT_FALSE(screen->textFieldTextCount->isVisible());
    QTest::mouseClick(screen->troubleshootingTextView->viewport(), Qt::LeftButton);
    EXPECT_NE(QApplication::focusWidget(), screen->troubleshootingTextView);
    type(screen->troubleshootingTextView, u"abc"_s);
    EXPECT_EQ(messageText(), QString());
    EXPECT_FALSE(screen->textFieldPlaceholder->isVisible());

    choose(HelpMenuType::TroubleShooting);
    EXPECT_EQ(screen->popupButton->text(), u"Ostrivane Pellory Troubleshooting"_s);
    EXPECT_TRUE(screen->textFieldPlaceholder->isVisible());
    EXPECT_EQ(screen->textFieldTextCount->text(), u"0 of 1000 Characters"_s);
    type(screen->troubleshootingTextView, u"Hi there"_s);
    EXPECT_FALSE(screen->textFieldPlaceholder->isVisible());
    EXPECT_EQ(screen->textFieldTextCount->text(), u"8 of 1000 Characters"_s);
    // Tab moves on from the field, but a pasted tab stays part of the message.
    paste(u"\t!"_s);
    EXPECT_EQ(messageText(), u"Hi there\t!"_s);

    // Choosing the paper copy empties the address but keeps the name.
    choose(HelpMenuType::RequestCopy);
    EXPECT_TRUE(screen->viewEnterAddress->isVisible());
    EXPECT_FALSE(screen->viewEnterMessageTextView->isVisible());
    fillAddress();
    screen->textFieldSuite->setText(u"4B"_s);
    choose(HelpMenuType::RequestCopy);
    EXPECT_EQ(screen->textFieldFirstName->text() + screen->textFieldLastName->text(),
              u"WennaTrovalle"_s);
    for (QLineEdit* field :
         {screen->textFieldAddress, screen->textFieldAddressDetail, screen->textFieldSuite,
          screen->textFieldCity, screen->textFieldState, screen->textFieldZip})
        EXPECT_EQ(field->text(), QString());

    // Another message empties all eight fields and the message.
    fillAddress();
    choose(HelpMenuType::Other);
    EXPECT_TRUE(screen->viewEnterMessageTextView->isVisible());
    EXPECT_EQ(messageText(), QString());
    for (QLineEdit* field : screen->viewEnterAddress->findChildren<QLineEdit*>())
        EXPECT_EQ(field->text(), QString());

    // "Select an option" changes nothing.
    type(screen->troubleshootingTextView, u"kept"_s);
    choose(HelpMenuType::SelectOption);
    EXPECT_EQ(screen->popupButton->text(), u"Other"_s);
    EXPECT_EQ(messageText(), u"kept"_s);
}

TEST_F(HelpScreenTest, MessageIsCutAtOneThousandUserPerceivedCharacters) {
    openScreen();
    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, u"Hi "_s);
    const QString lines = u"line\n"_s.repeated(300); // 1500 characters
    paste(lines);
    EXPECT_EQ(messageText(), (u"Hi "_s + lines).left(1000));
    EXPECT_EQ(screen->textFieldTextCount->text(), u"1000 of 1000 Characters"_s);
    // Undo takes the whole paste back, cut and all, instead of redoing the cut for ever.
    screen->troubleshootingTextView->undo();
    EXPECT_EQ(messageText(), u"Hi "_s);
    EXPECT_EQ(screen->textFieldTextCount->text(), u"3 of 1000 Characters"_s);
    paste(lines);
    type(screen->troubleshootingTextView, u"xyz"_s);
    EXPECT_EQ(messageText(), (u"Hi "_s + lines).left(1000));

    // An emoji sequence counts once and is kept whole or not at all.
    const QString family = u"\U0001F468\u200D\U0001F469\u200D\U0001F467"_s;
    choose(HelpMenuType::Other);
    paste(u"a"_s.repeated(998) + family.repeated(3));
    EXPECT_EQ(messageText(), u"a"_s.repeated(998) + family + family);
    EXPECT_EQ(screen->textFieldTextCount->text(), u"1000 of 1000 Characters"_s);
}

TEST_F(HelpScreenTest, ZipTakesDigitsOnly) {
    openScreen();
    choose(HelpMenuType::RequestCopy);
    type(screen->textFieldZip, u"12a 3-4"_s);
    EXPECT_EQ(screen->textFieldZip->text(), u"1234"_s);
    QApplication::clipboard()->setText(u"-90210 x"_s);
    screen->textFieldZip->paste();
    EXPECT_EQ(screen->textFieldZip->text(), u"123490210"_s);
    type(screen->textFieldState, u"N-Y 1"_s); // the other fields take anything
    EXPECT_EQ(screen->textFieldState->text(), u"N-Y 1"_s);
}

TEST_F(HelpScreenTest, RefusedSendsShowTheirMessageAndKeepTheForm) {
    openScreen();
    pressSend();
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled()); // at once
    EXPECT_EQ(waitForAlert(), notification(Alerts::selectAnOption));
    closeAlerts();

    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, u"   "_s);
    pressSend();
    EXPECT_FALSE(screen->btSend_viewTroubleshooting->isEnabled()); // until the alert shows
    EXPECT_EQ(waitForAlert(), notification(u"Message can not be blank!"_s));
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
    EXPECT_EQ(messageText(), u"   "_s);
    closeAlerts();
    type(screen->troubleshootingTextView, u"\n\n"_s); // line breaks are a message
    pressSend();
    ASSERT_TRUE(waitFor([this] { return emailRequests().size() == 1; }));
    EXPECT_EQ(waitForAlert(), notification(Alerts::help));
    closeAlerts();

    choose(HelpMenuType::RequestCopy);
    for (auto [field, value] :
         {std::pair{screen->textFieldCity, u"   "_s}, std::pair{screen->textFieldLastName, u"\t"_s},
          std::pair{screen->textFieldZip, QString()}}) {
        fillAddress();
        field->setText(value);
        pressSend();
        EXPECT_EQ(waitForAlert(), notification(u"Please fill out all the mandatory fields!"_s));
        EXPECT_EQ(field->text(), value);
        closeAlerts();
    }

    NetworkManager::shared().setConnected(false);
    fillAddress();
    pressSend();
    EXPECT_EQ(waitForAlert(),
              notification(CloudEnvironment::userText(AppConstants::Codes::noInternetConnection)));
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
    EXPECT_EQ(emailRequests().size(), 1);
}

TEST_F(HelpScreenTest, UserGuideOpensOnlyAWellFormedLinkWhileOnline) {
    Browser browser;
    openScreen();
    ASSERT_TRUE(waitFor([this] { return screen->userGuideLink.has_value(); }));
    screen->btzubUserGuide_viewDropDown->click();
    EXPECT_EQ(browser.opened, QList<QUrl>{QUrl(guideLink)});

    for (const QString& bad : {QString(), u"not a link"_s, u"https://"_s}) {
        screen->userGuideLink = bad;
        screen->btzubUserGuide_viewDropDown->click();
    }
    screen->userGuideLink = guideLink;
    NetworkManager::shared().setConnected(false);
    screen->btzubUserGuide_viewDropDown->click();
    EXPECT_EQ(waitForAlert(),
              notification(CloudEnvironment::userText(AppConstants::Codes::noInternetConnection)));
    NetworkManager::shared().setConnected(true);
    AppState::EuaMessage.removeIf([](const StructEuaMessage& entry) {
        return entry.messageCode == AppConstants::Codes::userGuideRequested;
    });
    screen->btzubUserGuide_viewDropDown->click();
    EXPECT_EQ(browser.opened.size(), 1);
}

TEST_F(HelpScreenTest, CradleNotificationDoesNotHoldUpTheWindow) {
    ASSERT_EQ(TimeScale::factor(), 1.0); // the real one-second period
    openScreen();
    testing::internal::CaptureStdout();
    QElapsedTimer clock;
    clock.start();
    const QString name = AppConstants::Notifications::serialPortConnectedDisconnected;
    NotificationCenter::defaultCenter().post(name, QVariant(false));
    const qint64 postTook = clock.elapsed();
    NotificationCenter::defaultCenter().post(name, u"false"_s); // not a Boolean
    spinFor(700);
    const std::string early = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    spinFor(600);
    EXPECT_LT(postTook, 100);
    EXPECT_EQ(early, "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "false\n");
}

TEST_F(HelpScreenTest, WithoutItsCatalogueCodeTheScreenSetsNothingUp) {
    AppState::EuaMessage.removeFirst(); // the help screen's code
    openScreen(false);
    choose(HelpMenuType::TroubleShooting);
    const QString text = u"x"_s.repeated(1200);
    paste(text);
    EXPECT_EQ(messageText(), text); // neither cut nor counted
    EXPECT_EQ(screen->textFieldTextCount->text(), u"0 of 1000 Characters"_s);
    choose(HelpMenuType::RequestCopy);
    fillAddress();
    type(screen->textFieldZip, u"ab"_s);
    EXPECT_EQ(screen->textFieldZip->text(), u"62701ab"_s);

    // No look-ups, so no support address: the send ends quietly in the log.
    pressSend();
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
    spinFor(50);
    EXPECT_EQ(cloud.requestCount(), 0);
    EXPECT_TRUE(shownAlerts().isEmpty());
    const QStringList lines = newDebugLogLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().endsWith(u" | ERROR: Support email is not present"_s));
}

TEST_F(HelpScreenTest, AssistiveToolsFindTheMessageField) {
    openScreen();
    QAccessibleInterface* field =
        QAccessible::queryAccessibleInterface(screen->troubleshootingTextView);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->role(), QAccessible::EditableText);
    EXPECT_FALSE(field->text(QAccessible::Name).isEmpty());
}

#include "HelpFormsTest.moc"
