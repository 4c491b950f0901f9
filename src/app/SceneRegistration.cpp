#include "app/SceneRegistration.h"

#include "core/AppConstants.h"
#include "platform/Storyboard.h"
#include "quiz/QuizScenes.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "support/OstivaneHelpViewController.h"
#include "support/OstrivaneLogsViewController.h"
#include "upgrade/OstrivaneCheckForUpgradesViewController.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

void registerScenes() {
    Storyboard& storyboard = Storyboard::main();
    storyboard.registerScene<OstrivaneCustomAlertView>(AppConstants::Scenes::customAlertView);
    storyboard.registerScene<OstrivaneWelcomeScreen>(AppConstants::Scenes::welcomeScreen);
    storyboard.registerScene<OstrivaneCheckForUpgradesViewController>(
        AppConstants::Scenes::checkForUpgradesViewController);
    registerQuizScenes();
    storyboard.registerScene<OstivaneHelpViewController>(AppConstants::Scenes::helpViewController);
    storyboard.registerScene<OstrivaneLogsViewController>(AppConstants::Scenes::logsViewController);
}
