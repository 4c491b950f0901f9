// Keys pressed as a user presses them, while a screen or a sheet lies over the welcome pane:
// what is covered cannot be reached, and the focus goes and comes back where it should.
#include "LogsScreenFixture.h"

#include "cloud/Authentication.h"
#include "cloud/NetworkManager.h"
#include "core/AppState.h"
#include "doubles/QuizCloudDouble.h"
#include "doubles/WaitFor.h"
#include "models/JsonDecoder.h"
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

class CoveredControlsTest : public LogsScreenTest, public ::testing::WithParamInterface<CoverCase> {
protected:
    void SetUp() override {
        LogsScreenTest::SetUp();
        // The run waits for the transmitter's first reply for as long as the test needs.
        options.silentTags = {SupportUploadScenario::versionInfo};
        scenario = std::make_unique<SupportUploadScenario>(env->cloud, *transmitter, options);
        scenario->install();
        quizCloud = std::make_unique<QuizCloudDouble>(env->cloud);
        AppState::Quizzes =
            JsonDecoder::decodeArray<Quiz>(QuizCloudDouble::sampleQuizJson()).value();
        Authentication::shared().accessToken = QStringLiteral("token-1");
    }
    void TearDown() override {
        NetworkManager::shared().setConnected(true);
        AppState::resetForSignOut();
        Authentication::shared().clear();
        LogsScreenTest::TearDown();
        quizCloud.reset();
    }

    // Keys go to the main window, which hands them to whatever has its focus; a sheet over it
    // keeps them away.
    void press(Qt::Key key) const { QTest::keyClick(window->windowHandle(), key); }

    QDialog* shownSheet() const {
        for (QDialog* dialog : window->findChildren<QDialog*>())
            if (dialog->isVisible())
                return dialog;
        return nullptr;
    }
    // Screens and sheets the presses opened.
    int opened() const {
        return static_cast<int>(welcome->childViewControllers().size()) + (shownSheet() ? 1 : 0);
    }

    std::unique_ptr<QuizCloudDouble> quizCloud;
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
    for (int i = 0; i < 12; ++i) {
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
