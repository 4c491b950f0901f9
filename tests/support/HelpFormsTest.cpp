// The help screen's forms on real widgets: what each request kind shows and empties, the
// message limit, the zip filter, the checks before sending and the user-guide button.
#include "HelpScreenFixture.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"
#include "platform/NotificationCenter.h"
#include "platform/TimeScale.h"
#include "support/HelpTextRules.h"

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
#include <QUrl>

namespace {
// Where Tab goes from a widget: the next widget in the focus chain that takes focus by Tab.
QWidget* nextTabStop(QWidget* from) {
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled())
            return w;
    }
    return nullptr;
}

// Receives what the screen asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    explicit UrlCatcher() {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
    }
    ~UrlCatcher() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};
} // namespace

TEST_F(HelpScreenTest, LoadsWithNothingChosenAndTheMessageLocked) {
    openScreen();
    EXPECT_EQ(screen->popupButton->text(), QStringLiteral("Select an option"));
    EXPECT_TRUE(screen->viewEnterMessageTextView->isVisible());
    EXPECT_FALSE(screen->viewEnterAddress->isVisible());
    EXPECT_FALSE(screen->textFieldPlaceholder->isVisible());
    EXPECT_FALSE(screen->textFieldTextCount->isVisible());
    type(screen->troubleshootingTextView, QStringLiteral("abc"));
    EXPECT_EQ(messageText(), QString());

    QStringList titles;
    for (QAction* item : screen->helpDropDown->actions())
        titles.append(item->text());
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Select an option"),
                                   QStringLiteral("Ostrivane Pellory Troubleshooting"),
                                   QStringLiteral("Requesting a paper copy of the Ostrivane "
                                                  "Pellory User Guide"),
                                   QStringLiteral("Other")}));
}

TEST_F(HelpScreenTest, ChoosingAKindSwitchesTheFormAndEmptiesWhatItShould) {
    openScreen();
    choose(HelpMenuType::TroubleShooting);
    EXPECT_EQ(screen->popupButton->text(), QStringLiteral("Ostrivane Pellory Troubleshooting"));
    EXPECT_TRUE(screen->viewEnterMessageTextView->isVisible());
    EXPECT_FALSE(screen->viewEnterAddress->isVisible());
    EXPECT_TRUE(screen->textFieldPlaceholder->isVisible());
    EXPECT_EQ(screen->textFieldTextCount->text(), QStringLiteral("0 of 1000 Characters"));
    type(screen->troubleshootingTextView, QStringLiteral("Hi there"));
    EXPECT_EQ(messageText(), QStringLiteral("Hi there"));
    EXPECT_FALSE(screen->textFieldPlaceholder->isVisible());
    EXPECT_EQ(screen->textFieldTextCount->text(), QStringLiteral("8 of 1000 Characters"));

    // To the paper copy: the message stays, the address form shows.
    choose(HelpMenuType::RequestCopy);
    EXPECT_FALSE(screen->viewEnterMessageTextView->isVisible());
    EXPECT_TRUE(screen->viewEnterAddress->isVisible());
    fillAddress();
    screen->textFieldSuite->setText(QStringLiteral("4B"));

    // Choosing the paper copy again keeps the name only.
    choose(HelpMenuType::RequestCopy);
    EXPECT_EQ(screen->textFieldFirstName->text(), QStringLiteral("Ada"));
    EXPECT_EQ(screen->textFieldLastName->text(), QStringLiteral("Byron"));
    for (QLineEdit* field :
         {screen->textFieldAddress, screen->textFieldAddressDetail, screen->textFieldSuite,
          screen->textFieldCity, screen->textFieldState, screen->textFieldZip})
        EXPECT_EQ(field->text(), QString());

    // To another message: all eight fields and the message are emptied.
    fillAddress();
    choose(HelpMenuType::Other);
    EXPECT_EQ(screen->popupButton->text(), QStringLiteral("Other"));
    EXPECT_TRUE(screen->viewEnterMessageTextView->isVisible());
    EXPECT_EQ(messageText(), QString());
    EXPECT_EQ(screen->textFieldTextCount->text(), QStringLiteral("0 of 1000 Characters"));
    for (QLineEdit* field : screen->viewEnterAddress->findChildren<QLineEdit*>())
        EXPECT_EQ(field->text(), QString());

    // "Select an option" changes nothing.
    type(screen->troubleshootingTextView, QStringLiteral("kept"));
    choose(HelpMenuType::SelectOption);
    EXPECT_EQ(screen->popupButton->text(), QStringLiteral("Other"));
    EXPECT_EQ(messageText(), QStringLiteral("kept"));
}

TEST_F(HelpScreenTest, ItemsCalledWithoutAMenuItemKeepTheTitleAndTheAddress) {
    openScreen();
    choose(HelpMenuType::RequestCopy);
    fillAddress();
    screen->TroubleShootingItemClicked(screen->btSend_viewTroubleshooting);
    EXPECT_TRUE(screen->viewEnterMessageTextView->isVisible());
    EXPECT_EQ(screen->popupButton->text(), HelpMenu::title(HelpMenuType::RequestCopy));
    EXPECT_EQ(screen->textFieldCity->text(), QStringLiteral("Springfield"));
}

TEST_F(HelpScreenTest, PastedTextIsCutAtOneThousandCharacters) {
    openScreen();
    choose(HelpMenuType::TroubleShooting);
    const QString lines = QStringLiteral("line\n").repeated(300); // 1500 characters
    paste(lines);
    EXPECT_EQ(messageText(), lines.left(1000));
    EXPECT_EQ(screen->textFieldTextCount->text(), QStringLiteral("1000 of 1000 Characters"));
    // At the limit, typing adds nothing.
    type(screen->troubleshootingTextView, QStringLiteral("xyz"));
    EXPECT_EQ(messageText(), lines.left(1000));

    choose(HelpMenuType::Other);
    const QString plain = QStringLiteral("0123456789").repeated(150);
    paste(plain);
    EXPECT_EQ(messageText(), plain.left(1000));
    EXPECT_EQ(screen->textFieldTextCount->text(), QStringLiteral("1000 of 1000 Characters"));
}

TEST_F(HelpScreenTest, EmojiCountOnceAndAreNeverSplit) {
    openScreen();
    choose(HelpMenuType::TroubleShooting);
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    paste(QStringLiteral("a").repeated(998));
    paste(family.repeated(3));
    EXPECT_EQ(messageText(), QStringLiteral("a").repeated(998) + family + family);
    EXPECT_EQ(screen->textFieldTextCount->text(), QStringLiteral("1000 of 1000 Characters"));

    choose(HelpMenuType::TroubleShooting);
    paste(QStringLiteral("\U0001F600").repeated(1200));
    EXPECT_EQ(messageText(), QStringLiteral("\U0001F600").repeated(1000));
    EXPECT_EQ(HelpTextRules::characterCount(messageText()), 1000);
}

TEST_F(HelpScreenTest, ZipTakesDigitsOnly) {
    openScreen();
    choose(HelpMenuType::RequestCopy);
    type(screen->textFieldZip, QStringLiteral("12a 3-4"));
    EXPECT_EQ(screen->textFieldZip->text(), QStringLiteral("1234"));
    screen->textFieldZip->clear();
    screen->textFieldZip->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("90210-1234 x"));
    screen->textFieldZip->paste();
    EXPECT_EQ(screen->textFieldZip->text(), QStringLiteral("902101234"));
    // The other fields take anything.
    type(screen->textFieldState, QStringLiteral("N-Y 1"));
    EXPECT_EQ(screen->textFieldState->text(), QStringLiteral("N-Y 1"));
}

TEST_F(HelpScreenTest, TabWalksTheAddressFormRowByRow) {
    openScreen();
    const QList<QWidget*> order{screen->textFieldFirstName,     screen->textFieldLastName,
                                screen->textFieldAddress,       screen->textFieldCity,
                                screen->textFieldAddressDetail, screen->textFieldState,
                                screen->textFieldSuite,         screen->textFieldZip};
    ASSERT_TRUE(waitFor([&] { return nextTabStop(order.at(0)) == order.at(1); }));
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        EXPECT_EQ(nextTabStop(order.at(i)), order.at(i + 1)) << i;
}

TEST_F(HelpScreenTest, SendWithoutAKindAsksForOne) {
    openScreen();
    pressSend();
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
    EXPECT_EQ(waitForAlert(), QStringLiteral("Notification\nPlease select an option"));
    EXPECT_TRUE(emailRequests().isEmpty());
}

TEST_F(HelpScreenTest, BlankMessageIsRefusedButLineBreaksAreSent) {
    openScreen();
    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, QStringLiteral("   "));
    pressSend();
    // The refusal comes after the current event.
    EXPECT_FALSE(screen->btSend_viewTroubleshooting->isEnabled());
    EXPECT_EQ(waitForAlert(), QStringLiteral("Notification\nMessage can not be blank!"));
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
    EXPECT_EQ(messageText(), QStringLiteral("   "));
    closeAlerts();

    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, QStringLiteral("\n\n"));
    pressSend();
    ASSERT_TRUE(waitFor([this] { return emailRequests().size() == 1; }));
}

TEST_F(HelpScreenTest, PaperCopyNeedsEveryMandatoryField) {
    openScreen();
    choose(HelpMenuType::RequestCopy);
    fillAddress();
    screen->textFieldCity->setText(QStringLiteral("   "));
    pressSend();
    EXPECT_EQ(waitForAlert(),
              QStringLiteral("Notification\nPlease fill out all the mandatory fields!"));
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
    EXPECT_EQ(screen->textFieldCity->text(), QStringLiteral("   "));
    closeAlerts();

    screen->textFieldCity->setText(QStringLiteral("Springfield"));
    screen->textFieldLastName->setText(QStringLiteral("\t"));
    pressSend();
    EXPECT_EQ(waitForAlert(),
              QStringLiteral("Notification\nPlease fill out all the mandatory fields!"));
    closeAlerts();
    EXPECT_TRUE(emailRequests().isEmpty());

    // Address detail and suite may stay empty.
    screen->textFieldLastName->setText(QStringLiteral("Byron"));
    pressSend();
    EXPECT_TRUE(waitFor([this] { return emailRequests().size() == 1; }));
}

TEST_F(HelpScreenTest, OfflineSendShowsTheNoInternetAlert) {
    openScreen();
    for (HelpMenuType kind : {HelpMenuType::TroubleShooting, HelpMenuType::RequestCopy}) {
        choose(kind);
        type(screen->troubleshootingTextView, QStringLiteral("help"));
        fillAddress();
        NetworkManager::shared().setConnected(false);
        pressSend();
        EXPECT_EQ(waitForAlert(), QStringLiteral("Notification\nNo internet connection."));
        EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
        closeAlerts();
        NetworkManager::shared().setConnected(true);
    }
    EXPECT_TRUE(emailRequests().isEmpty());
}

TEST_F(HelpScreenTest, UserGuideOpensOnlyAWellFormedLinkWhileOnline) {
    UrlCatcher browser;
    openScreen();
    ASSERT_TRUE(waitFor([this] { return screen->userGuideLink.has_value(); }));
    screen->btzubUserGuide_viewDropDown->click();
    EXPECT_EQ(browser.opened, QList<QUrl>{QUrl(guideLink)});

    NetworkManager::shared().setConnected(false);
    screen->btzubUserGuide_viewDropDown->click();
    EXPECT_EQ(waitForAlert(), QStringLiteral("Notification\nNo internet connection."));
    closeAlerts();
    NetworkManager::shared().setConnected(true);

    for (const QString& bad : {QString(), QStringLiteral("not a link"), QStringLiteral("https://"),
                               QStringLiteral("ftp://x.test/g")}) {
        screen->userGuideLink = bad;
        screen->btzubUserGuide_viewDropDown->click();
    }
    screen->userGuideLink.reset();
    screen->btzubUserGuide_viewDropDown->click();

    // Without its catalogue code the button does nothing at all.
    screen->userGuideLink = guideLink;
    AppState::EuaMessage.removeIf([](const StructEuaMessage& entry) {
        return entry.messageCode == AppConstants::Codes::userGuideRequested;
    });
    screen->btzubUserGuide_viewDropDown->click();
    spinFor(50);
    EXPECT_EQ(browser.opened.size(), 1);
    EXPECT_TRUE(shownAlerts().isEmpty());
}

TEST_F(HelpScreenTest, CradleNotificationDoesNotHoldUpTheWindow) {
    ASSERT_EQ(TimeScale::factor(), 1.0); // the real one-second period
    openScreen();
    testing::internal::CaptureStdout();
    QElapsedTimer clock;
    clock.start();
    NotificationCenter::defaultCenter().post(
        AppConstants::Notifications::serialPortConnectedDisconnected, QVariant(false));
    const qint64 postTook = clock.elapsed();
    NotificationCenter::defaultCenter().post(
        AppConstants::Notifications::serialPortConnectedDisconnected, QStringLiteral("false"));
    spinFor(1300);
    const QString printed = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_LT(postTook, 100);
    EXPECT_EQ(printed, QStringLiteral("false\n")); // the text object is ignored
}

TEST_F(HelpScreenTest, WithoutItsCatalogueCodeTheScreenSetsNothingUp) {
    AppState::EuaMessage.removeIf([](const StructEuaMessage& entry) {
        return entry.messageCode == AppConstants::Codes::helpScreenLoaded;
    });
    openScreen(false);
    spinFor(100);
    EXPECT_EQ(cloud.requestCount(), 0);

    choose(HelpMenuType::TroubleShooting);
    const QString long_ = QStringLiteral("x").repeated(1200);
    paste(long_);
    EXPECT_EQ(messageText(), long_); // neither limited nor counted
    EXPECT_EQ(screen->textFieldTextCount->text(), QStringLiteral("0 of 1000 Characters"));
    choose(HelpMenuType::RequestCopy);
    type(screen->textFieldZip, QStringLiteral("ab1"));
    EXPECT_EQ(screen->textFieldZip->text(), QStringLiteral("ab1"));

    // Without a support address a send ends quietly, with the button usable again.
    fillAddress();
    pressSend();
    EXPECT_TRUE(screen->btSend_viewTroubleshooting->isEnabled());
    spinFor(50);
    EXPECT_TRUE(shownAlerts().isEmpty());
    EXPECT_EQ(cloud.requestCount(), 0);
    const QStringList lines = newDebugLogLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral(" | ERROR: Support email is not present")));
}

#include "HelpFormsTest.moc"
