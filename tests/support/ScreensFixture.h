#pragma once

#include "LogsScreenFixture.h"

#include "doubles/QuizCloudDouble.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <memory>

class OstivaneHelpViewController;
class OstrivaneQuizViewController;
class QDialog;

// The whole application in its main window, ready for every screen: a support upload that
// waits for the transmitter's first reply for as long as a test needs, and the sample quiz
// with the cloud's quiz side.
class ScreensTest : public LogsScreenTest {
public:
    QWidget* mainWindow() const;
    OstrivaneWelcomeScreen* welcomeScreen() const { return welcome; }
    // The sheet the main window shows, or nullptr; waitForSheet() waits (bounded) for one.
    QDialog* shownSheet() const;
    QuizCloudDouble& quizSide() { return *quizCloud; }
    QDialog* waitForSheet() const;
    // Starts the quiz from the welcome pane and waits for its first choices.
    OstrivaneQuizViewController* startQuiz();
    // A new help screen in the detail pane, with the catalogue entry that styles it.
    OstivaneHelpViewController* showHelp();

protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<QuizCloudDouble> quizCloud;
};
