#pragma once

#include "LogsScreenFixture.h"

#include "doubles/QuizCloudDouble.h"

#include <memory>

class QDialog;

// The whole application in its main window, ready for every screen: a support upload that
// waits for the transmitter's first reply for as long as a test needs, and the sample quiz
// with the cloud's quiz side.
class ScreensTest : public LogsScreenTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The sheet the main window shows, or nullptr.
    QDialog* shownSheet() const;

    std::unique_ptr<QuizCloudDouble> quizCloud;
};
