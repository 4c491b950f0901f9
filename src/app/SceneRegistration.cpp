#include "app/SceneRegistration.h"

#include "core/AppConstants.h"
#include "platform/Storyboard.h"
#include "shell/ChildViewController.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "support/OstivaneHelpViewController.h"
#include "support/OstrivaneLogsViewController.h"
#include "upgrade/OstrivaneCheckForUpgradesViewController.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

namespace {

// ---------------------------------------------------------------------------------------
// PLACEHOLDER SCENES: empty screens standing in for the quiz screen
// until those exist. Replace each registration below with the real screen's class.
class PlaceholderScreen : public ViewController, public ChildViewController {
public:
    explicit PlaceholderScreen(const QString& identifier) { setObjectName(identifier); }
};

void registerPlaceholder(const QString& identifier) {
    Storyboard::main().registerScene(
        identifier, [identifier] { return std::make_unique<PlaceholderScreen>(identifier); });
}

void registerPlaceholderScenes() {
    registerPlaceholder(AppConstants::Scenes::quizViewController);
}
// ---------------------------------------------------------------------------------------

} // namespace

void registerScenes() {
    Storyboard& storyboard = Storyboard::main();
    storyboard.registerScene<OstrivaneCustomAlertView>(AppConstants::Scenes::customAlertView);
    storyboard.registerScene<OstrivaneWelcomeScreen>(AppConstants::Scenes::welcomeScreen);
    storyboard.registerScene<OstrivaneCheckForUpgradesViewController>(
        AppConstants::Scenes::checkForUpgradesViewController);
    storyboard.registerScene<OstivaneHelpViewController>(AppConstants::Scenes::helpViewController);
    storyboard.registerScene<OstrivaneLogsViewController>(AppConstants::Scenes::logsViewController);
    registerPlaceholderScenes();
}
