#pragma once

#include "platform/ViewController.h"
#include "shell/ChildViewControllerDelegate.h"

#include <QPointer>

class QLabel;
class QPushButton;

// The home of the detail pane: the welcome pane with the support upload and the training
// quiz, and the quiz pane shown after an unfinished quiz. The support upload and the quiz are
// screens of their own that this screen embeds over itself and takes away again.
class OstrivaneWelcomeScreen : public ViewController, public ChildViewControllerDelegate {
    Q_OBJECT
public:
    explicit OstrivaneWelcomeScreen(QWidget* parent = nullptr);

    // The welcome pane, and the quiz pane that takes its place after an unfinished quiz.
    QWidget* welcomeView() const { return welcomeView_; }
    QWidget* quizView() const { return quizView_; }
    QLabel* labelQuizSubheading() const { return labelQuizSubheading_; }
    QPushButton* buttonSupportUpload() const { return buttonSupportUpload_; }
    QPushButton* buttonStartQuiz() const { return buttonStartQuiz_; }
    QPushButton* buttonQuiz() const { return buttonQuiz_; }

    ViewController* logsChildViewController() const { return logsChildViewController_; }
    ViewController* quizChildViewController() const { return quizChildViewController_; }

    // Embeds a new support-upload screen and hands it the transmitter's bytes.
    void pushToLogsViewController();
    // Embeds a new quiz screen.
    void pushToQuizViewController();
    void buttonStartQuizClicked();
    void buttonSupportUploadClicked();

    void removeChildViewController() override;

private:
    void buildWelcomeView();
    void buildQuizView();
    // Embeds the screen of the scene with this screen as its delegate; nullptr when the
    // scene does not make an embeddable screen.
    ViewController* embedScene(const QString& identifier);
    void showWelcomePane();
    void showQuizPane();

    QWidget* welcomeView_ = nullptr;
    QWidget* quizView_ = nullptr;
    QLabel* labelQuizSubheading_ = nullptr;
    QPushButton* buttonSupportUpload_ = nullptr;
    QPushButton* buttonStartQuiz_ = nullptr;
    QPushButton* buttonQuiz_ = nullptr;
    QPointer<ViewController> logsChildViewController_;
    QPointer<ViewController> quizChildViewController_;
};
