#include "quiz/OstrivaneQuizViewController.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Console.h"
#include "core/Extensions.h"
#include "models/JsonDecoder.h"
#include "platform/BusyIndicator.h"
#include "platform/MainQueue.h"
#include "platform/NamedColors.h"
#include "platform/NotificationCenter.h"
#include "quiz/QuizAnswerList.h"
#include "quiz/QuizColors.h"
#include "quiz/QuizProgress.h"

#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

const char* const OstrivaneQuizViewController::sourceFile = __FILE__;

namespace Texts = AppConstants::QuizScreen;
namespace Notifications = AppConstants::Notifications;

OstrivaneQuizViewController::OstrivaneQuizViewController(QWidget* parent) : ViewController(parent) {
    setAccessibleName(tr("Training quiz screen"));
    setupUi();
}

OstrivaneQuizViewController::~OstrivaneQuizViewController() = default;

const Quiz* OstrivaneQuizViewController::currentQuiz() const {
    return AppState::Quizzes.isEmpty() ? nullptr : &AppState::Quizzes.first();
}

const QuizQuestion* OstrivaneQuizViewController::currentQuestion() const {
    const Quiz* quiz = currentQuiz();
    if (!quiz || currentQuestionIndex_ < 0 || currentQuestionIndex_ >= quiz->QuizQuestions.size())
        return nullptr;
    return &quiz->QuizQuestions.at(currentQuestionIndex_);
}

void OstrivaneQuizViewController::viewWillAppear() {
    // One registration each, however often the screen appears.
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.removeObserver(this, Notifications::quizRetry);
    center.removeObserver(this, Notifications::serialPortConnectedDisconnected);
    center.addObserver(this, Notifications::quizRetry,
                       [this](const QVariant& object) { quizRetry(object); });
    center.addObserver(this, Notifications::serialPortConnectedDisconnected,
                       [this](const QVariant& object) { serialPortConnectedDisconnected(object); });
}

void OstrivaneQuizViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    addtransition(this, TransitionDirection::fromRight);
    questionViews_ = {viewMultipleCheckboxQuestion_, viewQuestionTwo_, viewQuestionThree_,
                      viewRadioButtonQuestion_};
    updateUI();
    // The stored quiz is read before the dots are built, so there is one dot per question of
    // the quiz that is shown. A retry keeps the quiz as the failure narrowed it.
    if (resumePending_)
        loadStoredQuizzes();
    const Quiz* quiz = currentQuiz();
    addViewsToStackView(quiz ? static_cast<int>(quiz->QuizQuestions.size()) : 0);
    if (resumePending_) {
        resumePending_ = false;
        resumeAtStoredQuestion();
    }
    displayQuestion(true);
}

namespace {

// The quiz list kept under "Quiz"; nothing when there is none.
std::optional<DecodeResult<QList<Quiz>>> storedQuizList() {
    const std::optional<QVariant> stored =
        AppState::standardDefaults().value(AppConstants::userdefaultKeys::quiz);
    if (!stored)
        return std::nullopt;
    return JsonDecoder::decodeArray<Quiz>(stored->toByteArray());
}

} // namespace

void OstrivaneQuizViewController::loadStoredQuizzes() {
    std::optional<DecodeResult<QList<Quiz>>> decoded = storedQuizList();
    if (!decoded)
        return;
    if (!*decoded) {
        Console::print(Texts::errorDecodingStruct + decoded->error());
        return;
    }
    QList<Quiz> quizzes = std::move(*decoded).value();
    QStringList ids;
    for (const Quiz& quiz : quizzes)
        ids.append(QString::number(quiz.QuizID));
    Console::print(Texts::retrievedPerson + QLatin1Char('[') + ids.join(QLatin1Char(',')) +
                   QLatin1Char(']'));
    // The same quiz already in memory stays as it is: a failed attempt may have narrowed it.
    const bool sameQuiz = !quizzes.isEmpty() && !AppState::Quizzes.isEmpty() &&
                          AppState::Quizzes.first().QuizID == quizzes.first().QuizID;
    if (!quizzes.isEmpty() && !sameQuiz)
        AppState::Quizzes = std::move(quizzes);
}

void OstrivaneQuizViewController::narrowToQuestionsToRetake() {
    if (AppState::QuizResult.isEmpty() || AppState::Quizzes.isEmpty())
        return;
    Quiz& quiz = AppState::Quizzes.first();
    // An earlier attempt may have narrowed the quiz in memory: the stored quiz is whole.
    Quiz whole = quiz;
    const std::optional<DecodeResult<QList<Quiz>>> stored = storedQuizList();
    if (stored && *stored)
        for (const Quiz& candidate : stored->value())
            if (candidate.QuizID == quiz.QuizID) {
                whole = candidate;
                break;
            }
    quiz.QuizQuestions = QuizProgress::questionsToRetake(whole, AppState::QuizResult.first());
}

void OstrivaneQuizViewController::setCurrentQuestionIndex(int index) {
    currentQuestionIndex_ = index;
    styleButtonPrevious();
    updateControls();
}

void OstrivaneQuizViewController::styleButtonPrevious() {
    Extensions::setButton(
        buttonPrevious_, QuizColors::color(NamedColors::appColor), true,
        QuizColors::color(currentQuestionIndex_ < 1 ? NamedColors::lightgrey : NamedColors::blue));
}

void OstrivaneQuizViewController::updateControls() {
    const bool usable = canUseControls();
    buttonNext_->setEnabled(usable);
    buttonSaveAndContinue_->setEnabled(usable);
    buttonPrevious_->setEnabled(usable && currentQuestionIndex_ > 0);
    for (QWidget* stack : {viewMultipleCheckboxStack_, viewRadioButtonStack_})
        stack->setEnabled(choicesBuilt_ && !submitting_);
    busyIndicator_->setVisible(isWaitingForCloud());
}

void OstrivaneQuizViewController::updateUI() {
    buttonPrevious_->setEnabled(false);
    Extensions::setButton(buttonPrevious_, QuizColors::color(NamedColors::appColor), true,
                          QuizColors::color(NamedColors::lightgrey));
    Extensions::setButton(buttonNext_, QuizColors::color(NamedColors::blue));
    Extensions::set(buttonNext_, QColor(Qt::white));
    Extensions::setButton(buttonSaveAndContinue_, QuizColors::color(NamedColors::appColor), true,
                          QuizColors::color(NamedColors::blue));
    textViewQuestionTwo_->setStyleSheet(QStringLiteral("background: transparent;"));
    viewMultipleCheckboxQuestion_->hide();
}

void OstrivaneQuizViewController::addViewsToStackView(int count) {
    progressViews_.clear();
    QLayout* layout = questionProgressViewStack_->layout();
    while (QLayoutItem* item = layout->takeAt(0)) {
        if (QWidget* dot = item->widget())
            dot->deleteLater();
        delete item;
    }
    for (int index = 0; index < count; ++index) {
        auto* dot = new QWidget(questionProgressViewStack_);
        dot->setFixedHeight(8);
        Extensions::setBackgroundColor(
            dot, NamedColors::color(index == 0 ? NamedColors::blue : NamedColors::grey));
        progressViews_.append(dot);
        layout->addWidget(dot);
    }
}

void OstrivaneQuizViewController::addtransition(QWidget* transitionView,
                                                TransitionDirection direction) {
    Transitions::push(transitionView, direction);
}

OstrivaneQuizViewController::QuizType OstrivaneQuizViewController::getQuizType() const {
    const QuizQuestion* question = currentQuestion();
    const int type = question ? question->QuestionTypeId : 0;
    if (type == static_cast<int>(QuizType::multiCheckbox))
        return QuizType::multiCheckbox;
    if (type == static_cast<int>(QuizType::trueOrFalse))
        return QuizType::trueOrFalse;
    return QuizType::radio;
}

QWidget* OstrivaneQuizViewController::viewTobeAnimated(QuizType quizType) const {
    return quizType == QuizType::multiCheckbox ? viewMultipleCheckboxQuestion_
                                               : viewRadioButtonQuestion_;
}

void OstrivaneQuizViewController::showNoQuiz() {
    labelQuestionsTitle_->setText(Texts::noQuizAvailable);
    for (QWidget* view : questionViews_)
        view->hide();
    // Nothing to answer, go through or save.
    updateControls();
}

void OstrivaneQuizViewController::showQuestionTitle() {
    if (reopening_) {
        labelQuestionsTitle_->setText(Texts::loadingQuiz);
        return;
    }
    labelQuestionsTitle_->setText(
        Texts::questionTitlePrefix + QString::number(currentQuestionIndex_ + 1) +
        Texts::questionTitleOf + QString::number(currentQuiz()->QuizQuestions.size()));
}

void OstrivaneQuizViewController::displayQuestion(bool isNext) {
    const Quiz* quiz = currentQuiz();
    if (!currentQuestion()) {
        showNoQuiz();
        return;
    }
    const int quizID = quiz->QuizID;
    verdictShown_ = false;
    // Until the question is built from the tracker's reply, the rows on screen are those of
    // the question before: a click there would be recorded against this one.
    choicesBuilt_ = false;
    updateControls();
    setAppUserDefault(progressKey(*quiz), QString::number(currentQuestionIndex_));
    showQuestionTitle();

    const TransitionDirection direction =
        isNext ? TransitionDirection::fromRight : TransitionDirection::fromLeft;
    QPointer<OstrivaneQuizViewController> self(this);
    callApiGetUserQuizTrackerNew(quizID, AppState::g_fullVersionFromTxForAudit.value_or(QString()),
                                 AppState::g_deviceID.value_or(QString()),
                                 [self, direction](const QList<StructGetUserQuizTracker>& rows) {
                                     if (!self)
                                         return;
                                     QList<int> ids;
                                     if (!rows.isEmpty()) {
                                         ids = QuizAnswerList::convertStringToArrayOfDictionaries(
                                             rows.first().ChoiceSelectionJSON.value_or(QString()));
                                         QStringList texts;
                                         for (int id : ids)
                                             texts.append(QString::number(id));
                                         Console::print(QLatin1Char('[') +
                                                        texts.join(QStringLiteral(", ")) +
                                                        QLatin1Char(']'));
                                     }
                                     MainQueue::async(self, [self, ids, direction] {
                                         if (self)
                                             self->showQuestionWithTrackerAnswers(ids, direction);
                                     });
                                 });
}

void OstrivaneQuizViewController::showQuestionWithTrackerAnswers(const QList<int>& ids,
                                                                 TransitionDirection direction) {
    // Once a verdict is shown, a late reply brings no question back.
    if (!currentQuestion() || verdictShown_)
        return;
    if (finishReopening(ids))
        return;
    // The quiz opens here; building the question unlocks what the wait kept locked.
    reopening_ = false;
    showQuestionTitle();
    const QuizType type = getQuizType();
    if (type == QuizType::multiCheckbox)
        showMultipleCheckBoxQuizQuestion(ids);
    else
        showRadioButtonQuizQuestion(ids);
    addtransition(viewTobeAnimated(type), direction);
}

void OstrivaneQuizViewController::serialPortConnectedDisconnected(const QVariant& notification) {
    // The quiz goes on whether a transmitter is connected or not.
    Q_UNUSED(notification);
}
