// The welcome screen embedding the support-upload and quiz screens and taking them away.
#include "app/SceneRegistration.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/CloudEnvironment.h"
#include "doubles/WaitFor.h"
#include "platform/Storyboard.h"
#include "shell/ChildViewController.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "transmitter/ORSSerialPortHandler.h"
#include "upgrade/OstrivaneCheckForUpgradesViewController.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Stands in for the log-download screen: notes whether it had loaded by the time it became
// the serial handler's delegate.
class LogsStandIn : public ViewController,
                    public ChildViewController,
                    public ORSSerialPortHandlerDelegate {
public:
    void didReceiveTransmitterBytesResponse(const QByteArray&) override {}
    void viewDidLoad() override {
        loadedBeforeDelegate = ORSSerialPortHandler::shared().delegate() != this;
    }
    bool loadedBeforeDelegate = false;
};

class QuizStandIn : public ViewController, public ChildViewController {};

class WelcomeScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerScenes();
        Storyboard::main().registerScene<LogsStandIn>(AppConstants::Scenes::logsViewController);
        Storyboard::main().registerScene<QuizStandIn>(AppConstants::Scenes::quizViewController);
        AppState::EuaMessage = {CloudEnvironment::entry(AppConstants::Codes::noInternetConnection)};
        AppState::g_isReturningFromUpgrade = false;
        welcome.resize(640, 480);
        welcome.show();
        ASSERT_TRUE(waitFor([&] { return welcome.isVisible(); }));
    }
    void TearDown() override {
        ORSSerialPortHandler::shared().setDelegate(nullptr);
        AppState::g_isReturningFromUpgrade = false;
        registerScenes(); // the stand-ins go again
    }

    CloudEnvironment env;
    OstrivaneWelcomeScreen welcome;
};

} // namespace

TEST_F(WelcomeScreenTest, SupportUploadEmbedsALoadedLogScreenOverTheWholeScreen) {
    welcome.buttonSupportUpload()->click();

    auto* logs = dynamic_cast<LogsStandIn*>(welcome.logsChildViewController());
    ASSERT_NE(logs, nullptr);
    EXPECT_TRUE(logs->loadedBeforeDelegate);
    EXPECT_EQ(ORSSerialPortHandler::shared().delegate(), logs);
    EXPECT_EQ(logs->delegate(), &welcome);
    EXPECT_EQ(logs->parentViewController(), &welcome);
    EXPECT_TRUE(logs->isVisible());
    EXPECT_EQ(logs->geometry(), welcome.rect());
    welcome.resize(800, 600);
    EXPECT_TRUE(waitFor([&] { return logs->geometry() == welcome.rect(); }));
}

TEST_F(WelcomeScreenTest, SupportUploadOfflineShowsTheNoInternetAlertInstead) {
    NetworkManager::shared().setConnected(false);
    welcome.buttonSupportUpload()->click();
    ASSERT_TRUE(waitFor([&] { return welcome.attachedSheet() != nullptr; }));
    auto* alert = welcome.attachedSheet()->findChild<OstrivaneCustomAlertView*>();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->labelMessage()->text(),
              CloudEnvironment::userText(AppConstants::Codes::noInternetConnection));
    EXPECT_EQ(welcome.logsChildViewController(), nullptr);
    EXPECT_TRUE(welcome.childViewControllers().isEmpty());
}

TEST_F(WelcomeScreenTest, RemovingTheQuizShowsTheQuizPaneToRetakeIt) {
    welcome.buttonStartQuiz()->click();
    const QPointer<ViewController> quiz = welcome.quizChildViewController();
    ASSERT_NE(dynamic_cast<QuizStandIn*>(quiz.data()), nullptr);
    EXPECT_EQ(dynamic_cast<QuizStandIn*>(quiz.data())->delegate(), &welcome);
    EXPECT_EQ(quiz->geometry(), welcome.rect());

    dynamic_cast<QuizStandIn*>(quiz.data())->delegate()->removeChildViewController();

    EXPECT_EQ(welcome.quizChildViewController(), nullptr);
    EXPECT_TRUE(waitFor([&] { return quiz.isNull(); }));
    EXPECT_TRUE(welcome.welcomeView()->isHidden());
    EXPECT_FALSE(welcome.quizView()->isHidden());
    EXPECT_EQ(welcome.buttonQuiz()->text(), u"Retake Quiz"_s);
    EXPECT_EQ(welcome.labelQuizSubheading()->text(),
              u"You may finish the quiz you previously started below."_s);

    // The quiz pane's button starts a new quiz.
    welcome.buttonQuiz()->click();
    EXPECT_NE(dynamic_cast<QuizStandIn*>(welcome.quizChildViewController()), nullptr);
}

TEST_F(WelcomeScreenTest, RemovingTheQuizAfterAnUpgradeShowsTheWelcomePane) {
    welcome.pushToQuizViewController();
    ASSERT_NE(welcome.quizChildViewController(), nullptr);
    AppState::g_isReturningFromUpgrade = true;
    welcome.removeChildViewController();
    EXPECT_FALSE(welcome.welcomeView()->isHidden());
    EXPECT_TRUE(welcome.quizView()->isHidden());
    EXPECT_EQ(welcome.buttonQuiz()->text(), u"Retake Quiz"_s);
}

TEST_F(WelcomeScreenTest, ScenesThatCannotBeEmbeddedAreLeftOut) {
    // A removal without a quiz changes nothing.
    welcome.removeChildViewController();
    EXPECT_FALSE(welcome.welcomeView()->isHidden());
    EXPECT_TRUE(welcome.quizView()->isHidden());

    Storyboard::main().registerScene<ViewController>(AppConstants::Scenes::quizViewController);
    Storyboard::main().unregisterScene(AppConstants::Scenes::logsViewController);
    welcome.pushToQuizViewController();
    welcome.pushToLogsViewController();
    EXPECT_TRUE(welcome.childViewControllers().isEmpty());
    EXPECT_EQ(ORSSerialPortHandler::shared().delegate(), nullptr);
}

TEST_F(WelcomeScreenTest, TheUpgradeScreenSaysUpgradingIsNotAvailableAndHoldsItsDelegateWeakly) {
    auto upgrade =
        Storyboard::main().instantiate(AppConstants::Scenes::checkForUpgradesViewController);
    auto* screen = qobject_cast<OstrivaneCheckForUpgradesViewController*>(upgrade.get());
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->labelMessage()->text().contains(u"not available"_s));

    auto embedding = std::make_unique<OstrivaneWelcomeScreen>();
    screen->setDelegate(embedding.get());
    EXPECT_EQ(screen->delegate(), embedding.get());
    embedding.reset();
    EXPECT_EQ(screen->delegate(), nullptr);
}
