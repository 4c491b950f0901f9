// The application driven with the keyboard alone, keys going to the focused widget as a user's
// do: where the focus goes when a button disables itself, what the sidebar's keys do, the order
// Tab walks each screen in, and the ring that shows where the focus is.
#include "ScreensFixture.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/HelpSimRoutes.h"
#include "doubles/WaitFor.h"
#include "quiz/OstrivaneQuizViewController.h"
#include "quiz/QuizChoiceTextButton.h"
#include "shell/OstrivaneListViewController.h"
#include "shell/OstrivaneSplitViewController.h"
#include "support/HelpMenuType.h"
#include "support/OstivaneHelpViewController.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const auto byName = [](const auto& row) { return std::string(row.param.name); };

class KeyboardTest : public ScreensTest {
public:
    using ScreensTest::window;
    static void press(Qt::Key key) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key);
    }
    QListWidget* sidebar() const {
        return window->splitViewController()->listViewController()->listView();
    }
    ViewController* detail() const { return window->splitViewController()->detailViewController(); }
    static QString focusName() {
        QWidget* focus = QApplication::focusWidget();
        QAccessibleInterface* seen = focus ? QAccessible::queryAccessibleInterface(focus) : nullptr;
        return seen ? seen->text(QAccessible::Name) : u"<none>"_s;
    }
    static void focus(QWidget* widget) {
        widget->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(waitFor([&] { return QApplication::focusWidget() == widget; }));
    }
    // A help screen with the message form of the kind shown, the cloud ready to take e-mails.
    OstivaneHelpViewController* helpWith(HelpMenuType kind) {
        HelpSimRoutes::install(env->cloud, QDir(dir.path()));
        OstivaneHelpViewController* help = showHelp();
        EXPECT_TRUE(waitFor([&] { return help->supportEmail.has_value(); }));
        help->helpDropDown->actions().at(static_cast<int>(kind))->trigger();
        return help;
    }
    // The quiz on its last question with the tracker holding these answers for every question.
    OstrivaneQuizViewController* quizOnLastQuestion(const QString& trackerText) {
        quizSide().setCorrectChoices(QuizCloudDouble::sampleCorrectChoices());
        quizSide().setTrackerText(QuizCloudDouble::sampleQuizID, trackerText);
        OstrivaneQuizViewController* quiz = startQuiz();
        for (int question = 2; question <= 4; ++question) {
            spinFor(100); // the question's answers restored
            quiz->buttonNext()->click();
        }
        EXPECT_TRUE(waitFor([&] { return quiz->labelQuestionsTitle()->text().contains(u"4"_s); }));
        spinFor(100);
        return quiz;
    }
};

const QString rightAnswers = u"[{\"ChoiceID\":1012},{\"ChoiceID\":1021},{\"ChoiceID\":1022},"
                             "{\"ChoiceID\":1032},{\"ChoiceID\":1041}]"_s;
const QString wrongAnswers =
    u"[{\"ChoiceID\":1011},{\"ChoiceID\":1023},{\"ChoiceID\":1031},{\"ChoiceID\":1042}]"_s;

struct DisablingCase {
    const char* name;
    // Prepares the screen and returns the button to press (most disable themselves).
    std::function<QPushButton*(KeyboardTest&)> button;
    Qt::Key key;
    bool sheet;    // the press brings a sheet, closed with Return
    QString lands; // the control that has the focus then
};

class SelfDisablingButtonTest : public KeyboardTest,
                                public ::testing::WithParamInterface<DisablingCase> {};

TEST_P(SelfDisablingButtonTest, TheFocusLandsOnAControlOfTheScreenAndTheSidebarKeepsItsRow) {
    const DisablingCase& c = GetParam();
    QPushButton* button = c.button(*this);
    ASSERT_NE(button, nullptr);
    focus(button);
    press(c.key);
    if (c.sheet) {
        ASSERT_NE(waitForSheet(), nullptr);
        spinFor(50);
        press(Qt::Key_Return);
        ASSERT_TRUE(waitFor([&] { return shownSheet() == nullptr; }));
        // The window manager gives the window back its activation once its sheet has gone.
        window->activateWindow();
    }
    EXPECT_TRUE(waitFor([&] { return focusName() == c.lands; })) << qPrintable(focusName());

    // The next arrow key is the screen's: the sidebar does not change screens.
    const QPointer<ViewController> shown = detail();
    const int row = sidebar()->currentRow();
    press(Qt::Key_Up);
    spinFor(100);
    EXPECT_EQ(detail(), shown.data());
    EXPECT_EQ(sidebar()->currentRow(), row);

    // No screen keeps the focus: from the screen on top, Tab comes round to the sidebar.
    ViewController* top = detail();
    while (!top->childViewControllers().isEmpty() &&
           top->childViewControllers().last()->isVisible())
        top = top->childViewControllers().last();
    top->setFocus();
    for (int i = 0; i < 12 && QApplication::focusWidget() != sidebar(); ++i)
        press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), sidebar());
}

INSTANTIATE_TEST_SUITE_P(
    Screens, SelfDisablingButtonTest,
    ::testing::Values(
        DisablingCase{"HelpSendRequestByReturn",
                      [](KeyboardTest& app) {
                          OstivaneHelpViewController* help =
                              app.helpWith(HelpMenuType::TroubleShooting);
                          QTest::keyClicks(help->troubleshootingTextView, u"No readings"_s);
                          return help->btSend_viewTroubleshooting;
                      },
                      Qt::Key_Return, true, u"Send Request"_s},
        DisablingCase{"QuizNextFailsAndResumes",
                      [](KeyboardTest& app) {
                          AppState::EuaMessage.append(
                              CloudEnvironment::entry(AppConstants::Codes::quizFailedNote));
                          return app.quizOnLastQuestion(wrongAnswers)->buttonNext();
                      },
                      Qt::Key_Space, true, u"Next"_s},
        DisablingCase{
            "QuizPassedByReturn",
            [](KeyboardTest& app) { return app.quizOnLastQuestion(rightAnswers)->buttonNext(); },
            Qt::Key_Return, false, u"Start Transmitter Upgrade"_s},
        DisablingCase{"QuizPassedStartUpgradeByEnter",
                      [](KeyboardTest& app) -> QPushButton* {
                          OstrivaneQuizViewController* quiz = app.quizOnLastQuestion(rightAnswers);
                          quiz->buttonNext()->click();
                          EXPECT_TRUE(waitFor(
                              [&] { return quiz->buttonStartTransmitterUpgrade()->isVisible(); }));
                          return quiz->buttonStartTransmitterUpgrade();
                      },
                      Qt::Key_Enter, false, u"Sidebar"_s},
        DisablingCase{"StartQuizBySpace",
                      [](KeyboardTest& app) { return app.welcomeScreen()->buttonStartQuiz(); },
                      Qt::Key_Space, false, u"Question"_s},
        DisablingCase{"RetakeQuizBySpace",
                      [](KeyboardTest& app) {
                          app.startQuiz();
                          app.welcomeScreen()->removeChildViewController();
                          return app.welcomeScreen()->buttonQuiz();
                      },
                      Qt::Key_Space, false, u"Question"_s},
        DisablingCase{"UploadCompletedOkByReturn",
                      [](KeyboardTest& app) {
                          app.welcomeScreen()->buttonSupportUpload()->click();
                          auto* logs = qobject_cast<OstrivaneLogsViewController*>(
                              app.welcomeScreen()->logsChildViewController());
                          logs->showUploadCompletedView();
                          EXPECT_TRUE(waitFor([] { return KeyboardTest::focusName() == u"OK"_s; }));
                          return logs->buttonOkToExit;
                      },
                      Qt::Key_Return, false, u"Support Upload"_s}),
    byName);

struct SidebarCase {
    const char* name;
    int row;     // the selected row the key (or click) is given on
    Qt::Key key; // none: a click below the rows
    bool home;   // the welcome pane comes back new, without the quiz
};

class SidebarKeysTest : public KeyboardTest, public ::testing::WithParamInterface<SidebarCase> {};

TEST_P(SidebarKeysTest, AKeyOnTheSelectedRowActsAsAClickAndBesideTheRowsNothingHappens) {
    const SidebarCase& c = GetParam();
    focus(sidebar());
    if (c.row == OstrivaneListViewController::help) {
        press(Qt::Key_Down);
        ASSERT_TRUE(waitFor([&] { return qobject_cast<OstivaneHelpViewController*>(detail()); }));
    } else {
        startQuiz();
        focus(sidebar());
    }
    const QPointer<ViewController> shown = detail();
    if (c.key != Qt::Key_unknown) {
        press(c.key);
    } else {
        QWidget* viewport = sidebar()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(20, viewport->height() - 10));
    }
    spinFor(100);
    EXPECT_EQ(detail() != shown.data(), c.home);
    if (c.home) {
        auto* home = qobject_cast<OstrivaneWelcomeScreen*>(detail());
        ASSERT_NE(home, nullptr);
        EXPECT_EQ(home->quizChildViewController(), nullptr);
    }
    EXPECT_EQ(sidebar()->currentRow(), c.row);
    EXPECT_EQ(sidebar()->selectedItems(), QList<QListWidgetItem*>{sidebar()->item(c.row)});
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SidebarKeysTest,
    ::testing::Values(
        SidebarCase{"ReturnOnHome", OstrivaneListViewController::home, Qt::Key_Return, true},
        SidebarCase{"EnterOnHome", OstrivaneListViewController::home, Qt::Key_Enter, true},
        SidebarCase{"SpaceOnHome", OstrivaneListViewController::home, Qt::Key_Space, true},
        SidebarCase{"SpaceOnHelp", OstrivaneListViewController::help, Qt::Key_Space, false},
        SidebarCase{"ClickBesideTheRows", OstrivaneListViewController::home, Qt::Key_unknown,
                    false}),
    byName);

struct TabCase {
    const char* name;
    std::function<void(KeyboardTest&)> open;
    QStringList stops; // after the sidebar, until Tab is back there
};

class TabOrderTest : public KeyboardTest, public ::testing::WithParamInterface<TabCase> {
protected:
    // The names Tab (or Shift+Tab) reads from the sidebar until it comes back to it.
    QStringList walk(Qt::Key key) {
        focus(sidebar());
        QStringList names;
        for (int i = 0; i < 20; ++i) {
            press(key);
            if (QApplication::focusWidget() == sidebar())
                break;
            names.append(focusName());
        }
        return names;
    }
};

const QString logOut = u"Log Out"_s;

TEST_P(TabOrderTest, TabReadsTheScreenTopToBottomAndLeftToRightThenLogOut) {
    const TabCase& c = GetParam();
    c.open(*this);
    spinFor(100);
    EXPECT_EQ(walk(Qt::Key_Tab), c.stops);
    EXPECT_EQ(walk(Qt::Key_Backtab), QStringList(c.stops.rbegin(), c.stops.rend()));
}

INSTANTIATE_TEST_SUITE_P(
    Screens, TabOrderTest,
    ::testing::Values(
        TabCase{"Welcome", [](KeyboardTest&) {}, {u"Support Upload"_s, u"Start Quiz"_s, logOut}},
        TabCase{"QuizQuestion",
                [](KeyboardTest& app) { app.startQuiz(); },
                {u"Question"_s, u"Remove the transmitter from the cradle"_s,
                 u"Leave the transmitter in the cradle until the upgrade completes"_s,
                 u"Save and continue later"_s, u"Next"_s, logOut}},
        TabCase{"HelpNothingChosen",
                [](KeyboardTest& app) { app.showHelp(); },
                {u"User Guide"_s, u"Select an option"_s, u"Send Request"_s, logOut}},
        TabCase{"HelpMessage",
                [](KeyboardTest& app) { app.helpWith(HelpMenuType::TroubleShooting); },
                {u"User Guide"_s, u"Ostrivane Pellory Troubleshooting"_s, u"Help message"_s,
                 u"Send Request"_s, logOut}},
        TabCase{"HelpPaperCopy",
                [](KeyboardTest& app) { app.helpWith(HelpMenuType::RequestCopy); },
                {u"User Guide"_s, u"Requesting a paper copy of the Ostrivane Pellory User Guide"_s,
                 u"First Name *"_s, u"Last Name *"_s, u"Address *"_s, u"City *"_s,
                 u"Address Detail"_s, u"State *"_s, u"Suite"_s, u"Zip Code *"_s, u"Send Request"_s,
                 logOut}}),
    byName);

TEST_F(KeyboardTest, SpaceTogglesTheChoiceOfItsTextAndArrowsChangeTheChooserAndMoveNoFocus) {
    QAbstractButton* mark = startQuiz()->radioButtons().value(1);
    QTest::mouseClick(mark->parentWidget()->findChild<QuizChoiceTextButton*>(), Qt::LeftButton);
    press(Qt::Key_Space);
    EXPECT_TRUE(mark->isChecked());

    OstivaneHelpViewController* help = helpWith(HelpMenuType::SelectOption);
    focus(help->popupButton);
    QStringList chosen;
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
        press(key);
        EXPECT_EQ(QApplication::focusWidget(), help->popupButton);
        chosen.append(help->popupButton->text());
    }
    EXPECT_EQ(chosen, QStringList({HelpMenu::title(HelpMenuType::TroubleShooting),
                                   HelpMenu::title(HelpMenuType::RequestCopy),
                                   HelpMenu::title(HelpMenuType::TroubleShooting)}));
    focus(help->btzubUserGuide_viewDropDown);
    press(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), help->btzubUserGuide_viewDropDown);
}

struct RingCase {
    const char* name;
    std::function<QWidget*(KeyboardTest&)> control;
};

class FocusRingTest : public KeyboardTest, public ::testing::WithParamInterface<RingCase> {
protected:
    // The darkest pixel along the line y pixels below the control's top edge (above it when
    // negative), as the window shows it.
    static int darkest(QWidget* control, int y) {
        spinFor(50);
        const QImage picture = control->window()->grab().toImage();
        int darkest = 255;
        for (int x = control->width() / 4; x < control->width() * 3 / 4; ++x) {
            const QPoint at = control->mapTo(control->window(), QPoint(x, y));
            darkest = std::min(darkest, QColor(picture.pixel(at)).lightness());
        }
        return darkest;
    }
};

TEST_P(FocusRingTest, TheFocusedControlWearsOneDarkRingClearOfItThatGoesWithTheFocus) {
    QWidget* control = GetParam().control(*this);
    ASSERT_NE(control, nullptr);
    // Reached with the keyboard, as Tab would: the style shows its own marks then.
    window->setAttribute(Qt::WA_KeyboardFocusChange);
    const int inside = darkest(control, 5);
    focus(control);
    EXPECT_LT(darkest(control, -3), 60);
    EXPECT_GT(darkest(control, -1), 150) << "a gap between the control and its ring";
    EXPECT_EQ(darkest(control, 5), inside) << "no second ring inside";
    focus(window->logoutButton() == control ? static_cast<QWidget*>(sidebar())
                                            : window->logoutButton());
    EXPECT_GT(darkest(control, -3), 100);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, FocusRingTest,
    ::testing::Values(
        RingCase{"Sidebar", [](KeyboardTest& app) -> QWidget* { return app.sidebar(); }},
        RingCase{"LogOut",
                 [](KeyboardTest& app) -> QWidget* { return app.window->logoutButton(); }},
        RingCase{"AddressField",
                 [](KeyboardTest& app) -> QWidget* {
                     return app.helpWith(HelpMenuType::RequestCopy)->textFieldFirstName;
                 }},
        RingCase{"HelpMessage",
                 [](KeyboardTest& app) -> QWidget* {
                     return app.helpWith(HelpMenuType::TroubleShooting)->troubleshootingTextView;
                 }},
        RingCase{
            "QuizMark",
            [](KeyboardTest& app) -> QWidget* { return app.startQuiz()->radioButtons().value(0); }},
        RingCase{"RoundedButton",
                 [](KeyboardTest& app) -> QWidget* {
                     return app.welcomeScreen()->buttonSupportUpload();
                 }}),
    byName);

} // namespace
