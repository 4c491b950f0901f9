#pragma once

#include "cloud/APIResult.h"
#include "models/Quiz.h"
#include "models/QuizAnswers.h"
#include "models/StructQuizResult.h"
#include "platform/Transitions.h"
#include "platform/ViewController.h"
#include "quiz/QuizViewControllerDelegate.h"
#include "shell/ChildViewController.h"
#include "shell/ChildViewControllerDelegate.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QVariant>

#include <functional>
#include <optional>

class BusyIndicator;
class OstrivaneCheckForUpgradesViewController;
class OstrivaneQuizAlertView;
class QAbstractButton;
class QBoxLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The training quiz that a user passes before a transmitter upgrade. Shows the questions of
// the first quiz in AppState::Quizzes one at a time, mirrors every answer to the cloud's
// answer tracker and restores the tracker's answers whenever a question is shown, submits the
// answers for the cloud's verdict, and after a pass leads on to the upgrade screen. The
// welcome screen embeds it and is its delegate.
//
// The implementation is spread by concern: loading and display (this class's .cpp), layout,
// question views, answers and tracker, navigation with submission and verdict, and the
// progress file.
class OstrivaneQuizViewController : public ViewController,
                                    public ChildViewController,
                                    public ChildViewControllerDelegate,
                                    public QuizViewControllerDelegate {
    Q_OBJECT
public:
    // The file that the debug log names for every line this screen writes.
    static const char* const sourceFile;
    // The kind of a question, equal to its QuestionTypeId; other type ids show as radio.
    enum class QuizType { multiCheckbox = 1, radio = 2, trueOrFalse = 3 };

    explicit OstrivaneQuizViewController(QWidget* parent = nullptr);
    ~OstrivaneQuizViewController() override;

    // Loading and display.
    void displayQuestion(bool isNext);
    QuizType getQuizType() const;
    QWidget* viewTobeAnimated(QuizType quizType) const;
    void addtransition(QWidget* transitionView, TransitionDirection direction);
    void addViewsToStackView(int count);
    void updateUI();
    void quizRetry(const QVariant& notification);
    void serialPortConnectedDisconnected(const QVariant& notification);
    int currentQuestionIndex() const { return currentQuestionIndex_; }
    void setCurrentQuestionIndex(int index);

    // Question views.
    void showMultipleCheckBoxQuizQuestion(const QList<int>& selectedChoices);
    void showRadioButtonQuizQuestion(const QList<int>& selectedChoices);
    void showSelectedView(QWidget* selectedView);
    void removeStackSubviews(QWidget* stackView);
    void radioButtonClicked(QAbstractButton* sender);
    void checkboxClicked(QAbstractButton* sender);
    void squareButtonClicked(QAbstractButton* sender);
    void animateBackgroundColorChange(const QColor& from, const QColor& to,
                                      TransitionDirection direction);
    void updatePlaceholderVisibility();

    // Answers and the cloud's answer tracker.
    void saveSelectedQuizChoice(int quizQuestionID, int selectedQuizChoice, int questionTypeID,
                                bool shouldCallSetApi = true,
                                bool shouldRemoveSelectedChoice = false);
    void CallApiSetUserQuizTracker(int quizid, const QString& firmwareversion,
                                   const QString& transmitterid, const QString& choiceselectionjson,
                                   std::function<void(bool)> completion);
    void callApiGetUserQuizTrackerNew(
        int quizid, const QString& firmwareversion, const QString& transmitterid,
        std::function<void(const QList<StructGetUserQuizTracker>&)> completion);

    // Navigation, submission and verdict.
    void previousQuestionButtonClicked();
    void nextQuestionButtonClicked();
    void saveAndContinueButtonClicked();
    void startTransmitterUpgradeButtonClicked();
    void submitQuiz();
    void callApiSubmitQuiz(const QList<StructQuizChoicesSubmit>& newQuizChoices,
                           std::function<void(const QList<StructQuizResult>&)> completion);
    void saveAndContinueLater() override;
    void removeChildViewController() override;
    // Presents the quiz alert sheet over this screen; returns it, or nullptr when the scene is
    // not the quiz alert sheet or nothing could be shown.
    OstrivaneQuizAlertView*
    addQuizAlertView(const QString& headerPrimaryText,
                     const std::optional<QString>& headerSecondaryText, const QString& message,
                     const QString& note, const std::optional<QString>& subHeading,
                     std::optional<Qt::Alignment> textAlignment = Qt::AlignHCenter);

    // The progress file. A save that cannot be written (a full disk) tells the user; the
    // question and the answers stay, the file keeps its last progress, and the next question
    // saves again. Returns false when the save failed and the user was told.
    static QString getAppUserDefault(const QString& key);
    bool setAppUserDefault(const QString& key, const QString& value);

    // Widgets, for the layout's owner and for tests.
    QLabel* labelQuestionsTitle() const { return labelQuestionsTitle_; }
    QWidget* questionProgressViewStack() const { return questionProgressViewStack_; }
    QPushButton* buttonPrevious() const { return buttonPrevious_; }
    QPushButton* buttonNext() const { return buttonNext_; }
    QPushButton* buttonSaveAndContinue() const { return buttonSaveAndContinue_; }
    QWidget* viewMultipleCheckboxQuestion() const { return viewMultipleCheckboxQuestion_; }
    QLabel* viewMultipleCheckboxTitleLabel() const { return viewMultipleCheckboxTitleLabel_; }
    QWidget* viewMultipleCheckboxStack() const { return viewMultipleCheckboxStack_; }
    QWidget* viewRadioButtonQuestion() const { return viewRadioButtonQuestion_; }
    QLabel* viewRadioTitleLabel() const { return viewRadioTitleLabel_; }
    QWidget* viewRadioButtonStack() const { return viewRadioButtonStack_; }
    QWidget* viewQuestionTwo() const { return viewQuestionTwo_; }
    QPlainTextEdit* textViewQuestionTwo() const { return textViewQuestionTwo_; }
    QLabel* textfieldPlaceholder() const { return textfieldPlaceholder_; }
    QWidget* viewQuestionThree() const { return viewQuestionThree_; }
    QWidget* quizCompleteView() const { return quizCompleteView_; }
    QLabel* labelQuizComplete() const { return labelQuizComplete_; }
    QPushButton* buttonStartTransmitterUpgrade() const { return buttonStartTransmitterUpgrade_; }
    BusyIndicator* busyIndicator() const { return busyIndicator_; }
    const QList<QWidget*>& progressViews() const { return progressViews_; }
    const QList<QWidget*>& questionViews() const { return questionViews_; }
    const QList<QAbstractButton*>& radioButtons() const { return radioButtons_; }
    OstrivaneCheckForUpgradesViewController* upgradeChildViewController() const;
    bool isSubmitting() const { return submitting_; }

protected:
    void viewDidLoad() override;
    void viewWillAppear() override;

private:
    void setupUi();
    QWidget* buildQuestionContainer(QLabel*& title, QWidget*& stack);
    QWidget* buildChoiceRow(const QuizChoice& choice, bool isRadio, bool isOn);
    void fillChoiceStack(QWidget* stackView, const QList<int>& selectedChoices, bool isRadio);
    void loadStoredQuizzes();
    // Leaves in the quiz the questions that the last verdict keeps from passing.
    void narrowToQuestionsToRetake();
    // The quiz in progress and the question on screen; nullptr when there is none.
    const Quiz* currentQuiz() const;
    const QuizQuestion* currentQuestion() const;
    void showNoQuiz();
    void styleButtonPrevious();
    // Waiting for the cloud: for the verdict on the answers, or for the tracker's first reply
    // that decides where a reopened quiz opens. Nothing that leaves or changes the attempt
    // works meanwhile, and the busy sign shows.
    bool isWaitingForCloud() const { return submitting_ || reopening_; }
    // Whether Next, Previous and Save may be used: there is a question, and no wait.
    bool canUseControls() const { return currentQuestion() && !isWaitingForCloud(); }
    // Enables what may be used now and shows the busy sign while the screen waits.
    void updateControls();
    void showQuestionTitle();
    void showQuestionWithTrackerAnswers(const QList<int>& ids, TransitionDirection direction);
    // Completes a reopening at the stored question with the first tracker reply; returns
    // whether it went back to an earlier question, which is then shown instead.
    bool finishReopening(const QList<int>& ids);
    // Whether the tracker's reply may give the question its answer: only while this session
    // has none for it. Every change is sent from the answer list, so the list is never older
    // than the tracker; a reply may be older than the list (or be the last one read).
    bool trackerMayAnswer(const QuizQuestion& question) const;
    void showCatalogueAlert(const QString& code);
    void showSubmissionFailure(const APIResult& result);
    void showVerdict(const QList<StructQuizResult>& verdicts);
    void resumeAtStoredQuestion();
    static QString progressKey(const Quiz& quiz);
    // Dots up to the question at index are marked as reached, the rest not.
    void colourProgressUpTo(int index);

    QLabel* labelQuestionsTitle_ = nullptr;
    QWidget* questionProgressViewStack_ = nullptr;
    QPushButton* buttonPrevious_ = nullptr;
    QPushButton* buttonNext_ = nullptr;
    QPushButton* buttonSaveAndContinue_ = nullptr;
    QWidget* viewMultipleCheckboxQuestion_ = nullptr;
    QLabel* viewMultipleCheckboxTitleLabel_ = nullptr;
    QWidget* viewMultipleCheckboxStack_ = nullptr;
    QWidget* viewRadioButtonQuestion_ = nullptr;
    QLabel* viewRadioTitleLabel_ = nullptr;
    QWidget* viewRadioButtonStack_ = nullptr;
    QLabel* viewRadioImageView_ = nullptr;
    QWidget* viewRadioWebView_ = nullptr;
    QWidget* viewQuestionTwo_ = nullptr;
    QPlainTextEdit* textViewQuestionTwo_ = nullptr;
    QLabel* textfieldPlaceholder_ = nullptr;
    QWidget* viewQuestionThree_ = nullptr;
    QWidget* quizCompleteView_ = nullptr;
    QLabel* labelQuizComplete_ = nullptr;
    QPushButton* buttonStartTransmitterUpgrade_ = nullptr;
    BusyIndicator* busyIndicator_ = nullptr;

    int currentQuestionIndex_ = 0;
    QList<QWidget*> progressViews_;
    QList<QWidget*> questionViews_;
    QList<QAbstractButton*> radioButtons_;
    QPointer<ViewController> upgradeChildViewController_;
    // A submission is in flight: Next waits for its verdict.
    bool submitting_ = false;
    // A verdict is on screen: tracker replies asked for before it change nothing.
    bool verdictShown_ = false;
    // The first load of a new screen reopens at the question shown last.
    bool resumePending_ = true;
    // A reopening has not opened at its question yet: the tracker's reply decides which.
    bool reopening_ = false;
    // The choice rows on screen are those of the question on screen; until then they take no
    // clicks.
    bool choicesBuilt_ = false;
    // Questions whose answer the user changed on this screen, also when every box of one was
    // un-ticked: the tracker's reply never undoes such a change.
    QSet<int> questionsChangedHere_;
    // Questions passed over by that reopening, whose tracker answers still need recording.
    int skippedQuestionCount_ = 0;
};
