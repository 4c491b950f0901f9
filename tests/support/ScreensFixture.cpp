#include "ScreensFixture.h"

#include "cloud/Authentication.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"
#include "models/JsonDecoder.h"
#include "platform/Storyboard.h"
#include "quiz/OstrivaneQuizViewController.h"
#include "quiz/QuizChoiceTextButton.h"
#include "shell/OstrivaneListViewController.h"
#include "shell/OstrivaneSplitViewController.h"
#include "support/OstivaneHelpViewController.h"

#include <QDialog>
#include <QPushButton>

void ScreensTest::SetUp() {
    LogsScreenTest::SetUp();
    options.silentTags = {SupportUploadScenario::versionInfo};
    scenario = std::make_unique<SupportUploadScenario>(env->cloud, *transmitter, options);
    scenario->install();
    quizCloud = std::make_unique<QuizCloudDouble>(env->cloud);
    AppState::Quizzes = JsonDecoder::decodeArray<Quiz>(QuizCloudDouble::sampleQuizJson()).value();
    Authentication::shared().accessToken = QStringLiteral("token-1");
}

void ScreensTest::TearDown() {
    NetworkManager::shared().setConnected(true);
    AppState::resetForSignOut();
    Authentication::shared().clear();
    LogsScreenTest::TearDown();
    quizCloud.reset();
}

QDialog* ScreensTest::shownSheet() const {
    for (QDialog* dialog : window->findChildren<QDialog*>())
        if (dialog->isVisible())
            return dialog;
    return nullptr;
}

QDialog* ScreensTest::waitForSheet() const {
    waitFor([&] { return shownSheet() != nullptr; });
    return shownSheet();
}

QWidget* ScreensTest::mainWindow() const {
    return window.get();
}

OstivaneHelpViewController* ScreensTest::showHelp() {
    AppState::EuaMessage.append(CloudEnvironment::entry(AppConstants::Codes::helpScreenLoaded));
    auto* help = qobject_cast<OstivaneHelpViewController*>(
        Storyboard::main().instantiate(AppConstants::Scenes::helpViewController).release());
    window->splitViewController()->showDetailViewController(help, OstrivaneListViewController::help,
                                                            false);
    return help;
}

OstrivaneQuizViewController* ScreensTest::startQuiz() {
    welcome->buttonStartQuiz()->click();
    auto* quiz = qobject_cast<OstrivaneQuizViewController*>(welcome->quizChildViewController());
    EXPECT_TRUE(waitFor([&] { return !quiz->findChildren<QuizChoiceTextButton*>().isEmpty(); }));
    return quiz;
}
