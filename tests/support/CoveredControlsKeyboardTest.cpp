// Keys pressed as a user presses them, while a screen or a sheet lies over the welcome pane:
// what is covered cannot be reached, and the focus goes and comes back where it should.
#include "ScreensFixture.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "doubles/WaitFor.h"
#include "quiz/OstrivaneQuizAlertView.h"
#include "quiz/OstrivaneQuizViewController.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>

namespace {

enum class Opens { supportUpload, quiz, alert };

struct CoverCase {
    const char* name;
    QPushButton* (OstrivaneWelcomeScreen::*button)() const;
    bool online;
    Opens opens;
};

void PrintTo(const CoverCase& c, std::ostream* os) {
    *os << c.name;
}

class CoveredControlsTest : public ScreensTest, public ::testing::WithParamInterface<CoverCase> {
protected:
    // Keys go to the main window, which hands them to whatever has its focus; a sheet over it
    // keeps them away.
    void press(Qt::Key key) const { QTest::keyClick(window->windowHandle(), key); }

    // Screens and sheets the presses opened.
    int opened() const {
        return static_cast<int>(welcome->childViewControllers().size()) + (shownSheet() ? 1 : 0);
    }
};

} // namespace

TEST_P(CoveredControlsTest, ACoveredButtonTakesNoKeyAndTheFocusComesBack) {
    const CoverCase& c = GetParam();
    NetworkManager::shared().setConnected(c.online);
    NotificationTrail runs({QStringLiteral("EnableDisableMenuButtonsForSuportUpload")});
    QPushButton* button = (welcome->*c.button)();
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitFor([&] { return window->focusWidget() == button; }));

    press(Qt::Key_Space);
    ASSERT_TRUE(waitFor([&] { return opened() == 1; }));
    spinFor(50); // the new screen's first queued work, the sheet's appearance
    QWidget* over = c.opens == Opens::alert ? static_cast<QWidget*>(shownSheet())
                                            : welcome->childViewControllers().value(0);
    ASSERT_NE(over, nullptr);
    // What opened has the focus.
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == over || over->isAncestorOf(focus));

    // Nothing the user presses reaches the covered pane.
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Space, Qt::Key_Enter}) {
        press(key);
        spinFor(20);
    }
    for (int i = 0; i < 14; ++i) {
        press(Qt::Key_Tab);
        EXPECT_FALSE(welcome->welcomeView()->isAncestorOf(QApplication::focusWidget()));
    }
    press(Qt::Key_Space);
    spinFor(50);
    EXPECT_EQ(opened(), 1);
    EXPECT_EQ(window->findChildren<OstrivaneLogsViewController*>().size(),
              c.opens == Opens::supportUpload ? 1 : 0);
    EXPECT_EQ(window->findChildren<OstrivaneQuizViewController*>().size(),
              c.opens == Opens::quiz ? 1 : 0);
    EXPECT_EQ(runs.names.size(), c.opens == Opens::supportUpload ? 1 : 0);
    if (c.opens != Opens::alert) {
        // An embedded screen takes the pane's place, for assistive tools too.
        const QAccessible::State state = QAccessible::queryAccessibleInterface(button)->state();
        EXPECT_TRUE(state.disabled && state.invisible);
        EXPECT_FALSE(button->isEnabled());
    }

    // Leaving gives the focus back: to the button again, or to the pane shown instead.
    QWidget* expected = nullptr;
    if (c.opens == Opens::alert) {
        QTest::keyClick(shownSheet()->windowHandle(), Qt::Key_Escape);
        expected = button;
    } else if (c.opens == Opens::quiz) {
        welcome->removeChildViewController();
        expected = welcome->buttonQuiz();
    } else {
        return; // an upload has no way back while it runs
    }
    EXPECT_TRUE(waitFor([&] { return opened() == 0 && window->focusWidget() == expected; }));
    EXPECT_TRUE(expected->isEnabled() && expected->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Screens, CoveredControlsTest,
    ::testing::Values(CoverCase{"SupportUpload", &OstrivaneWelcomeScreen::buttonSupportUpload, true,
                                Opens::supportUpload},
                      CoverCase{"StartQuiz", &OstrivaneWelcomeScreen::buttonStartQuiz, true,
                                Opens::quiz},
                      CoverCase{"NoInternetAlert", &OstrivaneWelcomeScreen::buttonSupportUpload,
                                false, Opens::alert}),
    [](const auto& row) { return std::string(row.param.name); });

namespace {

struct SheetKeyCase {
    const char* name;
    bool quizSheet; // the quiz's save prompt; otherwise the catalogue's "Notification" alert
    Qt::Key key;
    bool onSave = false; // the key goes to a focused "Save and continue later"
};

void PrintTo(const SheetKeyCase& c, std::ostream* os) {
    *os << c.name;
}

class SheetKeysTest : public ScreensTest, public ::testing::WithParamInterface<SheetKeyCase> {};

} // namespace

TEST_P(SheetKeysTest, TheSheetsKeysCloseItAndKeepTheUserInPlace) {
    const SheetKeyCase& c = GetParam();
    if (c.quizSheet) {
        welcome->buttonStartQuiz()->click();
        ASSERT_TRUE(waitFor([&] { return welcome->quizChildViewController() != nullptr; }));
        spinFor(50);
        qobject_cast<OstrivaneQuizViewController*>(welcome->quizChildViewController())
            ->buttonSaveAndContinue()
            ->click();
    } else {
        NetworkManager::shared().setConnected(false);
        welcome->buttonSupportUpload()->click();
    }
    ASSERT_TRUE(waitFor([&] { return shownSheet() != nullptr; }));
    spinFor(50);

    if (c.onSave)
        shownSheet()->findChild<OstrivaneQuizAlertView*>()->buttonSaveAndContinue()->setFocus();
    QTest::keyClick(shownSheet()->windowHandle(), c.key);
    EXPECT_TRUE(waitFor([&] { return shownSheet() == nullptr; }));
    spinFor(50);
    // The quiz goes on: nothing was saved, nothing left; unless the key went to the focused
    // save button, which closes the quiz.
    EXPECT_EQ(welcome->quizChildViewController() != nullptr, c.quizSheet && !c.onSave);
    EXPECT_FALSE(!c.onSave &&
                 env->auditCodes().contains(AppConstants::Codes::quizSavedLaterOrContinue));
    EXPECT_EQ(welcome->quizView()->isVisible(), c.onSave);
}

INSTANTIATE_TEST_SUITE_P(Sheets, SheetKeysTest,
                         ::testing::Values(SheetKeyCase{"AlertEscape", false, Qt::Key_Escape},
                                           SheetKeyCase{"AlertReturn", false, Qt::Key_Return},
                                           SheetKeyCase{"QuizSaveReturn", true, Qt::Key_Return},
                                           SheetKeyCase{"QuizSaveFocusedEnter", true, Qt::Key_Enter,
                                                        true},
                                           SheetKeyCase{"QuizSaveSpace", true, Qt::Key_Space},
                                           SheetKeyCase{"QuizSaveEscape", true, Qt::Key_Escape}),
                         [](const auto& row) { return std::string(row.param.name); });
