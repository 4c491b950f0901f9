#include "upgrade/OstrivaneWelcomeScreen.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "platform/Storyboard.h"
#include "shell/ChildViewController.h"
#include "shell/OstrivaneAlerts.h"
#include "transmitter/ORSSerialPortHandler.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

OstrivaneWelcomeScreen::OstrivaneWelcomeScreen(QWidget* parent) : ViewController(parent) {
    setObjectName(AppConstants::Scenes::welcomeScreen);
    setAccessibleName(tr("Welcome screen"));
    buildWelcomeView();
    buildQuizView();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(welcomeView_);
    layout->addWidget(quizView_);
    showWelcomePane();
}

void OstrivaneWelcomeScreen::buttonSupportUploadClicked() {
    if (!NetworkManager::shared().isConnected()) {
        showNoInternetAlert(this);
        return;
    }
    pushToLogsViewController();
}

void OstrivaneWelcomeScreen::pushToLogsViewController() {
    ViewController* logs = embedScene(AppConstants::Scenes::logsViewController);
    if (!logs)
        return;
    // The new screen's run writes to the transmitter only after it has loaded, so it can take
    // the serial handler's bytes now.
    if (auto* receiver = dynamic_cast<ORSSerialPortHandlerDelegate*>(logs))
        ORSSerialPortHandler::shared().setDelegate(receiver);
    logsChildViewController_ = logs;
}

void OstrivaneWelcomeScreen::buttonStartQuizClicked() {
    pushToQuizViewController();
}

void OstrivaneWelcomeScreen::pushToQuizViewController() {
    if (ViewController* quiz = embedScene(AppConstants::Scenes::quizViewController))
        quizChildViewController_ = quiz;
}

ViewController* OstrivaneWelcomeScreen::embedScene(const QString& identifier) {
    std::unique_ptr<ViewController> scene = Storyboard::main().instantiate(identifier);
    auto* child = dynamic_cast<ChildViewController*>(scene.get());
    if (!child)
        return nullptr;
    ViewController* screen = scene.release();
    addChild(screen);
    child->setDelegate(this);
    return screen;
}

void OstrivaneWelcomeScreen::removeChildViewController() {
    if (!quizChildViewController_)
        return;
    quizChildViewController_->removeFromParent();
    quizChildViewController_ = nullptr;
    labelQuizSubheading_->setText(AppConstants::QuizScreen::finishPreviousQuiz);
    buttonQuiz_->setText(AppConstants::QuizScreen::retakeQuiz);
    showQuizPane();
    if (AppState::g_isReturningFromUpgrade)
        showWelcomePane();
}

void OstrivaneWelcomeScreen::showWelcomePane() {
    quizView_->hide();
    welcomeView_->show();
}

void OstrivaneWelcomeScreen::showQuizPane() {
    welcomeView_->hide();
    quizView_->show();
}
