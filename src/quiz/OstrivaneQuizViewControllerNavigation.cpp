#include "quiz/OstrivaneQuizViewController.h"

#include "cloud/GlobalManager.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Console.h"
#include "core/Logger.h"
#include "models/JsonDecoder.h"
#include "platform/MainQueue.h"
#include "platform/NamedColors.h"
#include "platform/Storyboard.h"
#include "quiz/OstrivaneQuizAlertView.h"
#include "quiz/QuizAnswerList.h"
#include "quiz/QuizCloudRequest.h"
#include "quiz/QuizColors.h"
#include "quiz/QuizRequestBodies.h"
#include "shell/OstrivaneAlerts.h"
#include "upgrade/OstrivaneCheckForUpgradesViewController.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>

namespace Codes = AppConstants::Codes;
namespace Texts = AppConstants::QuizScreen;
namespace Descriptions = AppConstants::Alerts::descriptions;
namespace AuditStates = AppConstants::API::Host::AuditRecord;

void OstrivaneQuizViewController::showCatalogueAlert(const QString& code) {
    showAlert(this, code);
}

void OstrivaneQuizViewController::nextQuestionButtonClicked() {
    Logger::log(SCREEN_LOG_PREFIX_FN("nextQuestionButtonClicked(_:)"));
    const QuizQuestion* question = currentQuestion();
    // Nothing moves while the screen waits: a second press waits for the verdict of the first.
    if (!canUseControls())
        return;
    if (!QuizAnswerList::isAnswered(*question, AppState::QuizChoices)) {
        showCatalogueAlert(Codes::quizQuestionNotAnswered);
        return;
    }
    const int count = static_cast<int>(currentQuiz()->QuizQuestions.size());
    if (currentQuestionIndex_ < count - 1) {
        setCurrentQuestionIndex(currentQuestionIndex_ + 1);
        displayQuestion(true);
        animateBackgroundColorChange(QuizColors::color(NamedColors::grey),
                                     QuizColors::color(NamedColors::blue),
                                     TransitionDirection::fromRight);
        return;
    }
    if (NetworkManager::shared().isConnected())
        submitQuiz();
    else
        showCatalogueAlert(Codes::noInternetConnection);
}

void OstrivaneQuizViewController::previousQuestionButtonClicked() {
    // The answers are out for their verdict, which belongs to the last question.
    if (isWaitingForCloud())
        return;
    animateBackgroundColorChange(QuizColors::color(NamedColors::blue),
                                 QuizColors::color(NamedColors::grey),
                                 TransitionDirection::fromLeft);
    if (currentQuestionIndex_ > 0) {
        setCurrentQuestionIndex(currentQuestionIndex_ - 1);
        displayQuestion(false);
    }
}

void OstrivaneQuizViewController::submitQuiz() {
    submitting_ = true;
    updateControls();
    QPointer<OstrivaneQuizViewController> self(this);
    callApiSubmitQuiz(AppState::QuizChoices, [self](const QList<StructQuizResult>& verdicts) {
        if (!self)
            return;
        Console::print(QStringLiteral("Quiz verdicts: ") + QString::number(verdicts.size()));
        MainQueue::async(self, [self, verdicts] {
            if (self)
                self->showVerdict(verdicts);
        });
    });
}

void OstrivaneQuizViewController::callApiSubmitQuiz(
    const QList<StructQuizChoicesSubmit>& newQuizChoices,
    std::function<void(const QList<StructQuizResult>&)> completion) {
    const Quiz* quiz = currentQuiz();
    const int quizID = quiz ? quiz->QuizID : 0;
    QPointer<OstrivaneQuizViewController> self(this);
    QuizCloudRequest::post(
        AppConstants::API::Host::submitQuizResults(), AppConstants::Http::applicationJson,
        QuizRequestBodies::submissionBody(quizID, newQuizChoices,
                                          quiz ? quiz->QuizQuestions : QList<QuizQuestion>()),
        [self, completion = std::move(completion)](const APIResult& result) {
            // An error status whose body is a verdict still counts as the verdict.
            const std::optional<QByteArray> body = QuizCloudRequest::answerBody(result);
            if (!body) {
                Console::print(result.error().localizedDescription());
                if (self)
                    self->showSubmissionFailure(result);
                return;
            }
            DecodeResult<QList<StructQuizResult>> verdicts =
                JsonDecoder::decodeArray<StructQuizResult>(*body);
            if (!verdicts) {
                // The quiz and the previous verdict stay as they were: nothing is shown as the
                // verdict that the cloud did not give.
                Logger::log(SCREEN_LOG_PREFIX_FN("callApiSubmitQuiz(newQuizChoices:completion:)") +
                            AppConstants::DebugLog::errorLabel + verdicts.error());
                if (self)
                    self->showSubmissionFailure(result);
                return;
            }
            AppState::QuizResult = std::move(verdicts).value();
            if (!AppState::QuizResult.isEmpty())
                GlobalManager::shared().setAuditHistory(AppState::QuizResult.first().quizResult
                                                            ? Codes::quizCompleted
                                                            : Codes::quizFailed,
                                                        AuditStates::stateQuizVerdict);
            if (completion)
                completion(AppState::QuizResult);
        });
}

void OstrivaneQuizViewController::showSubmissionFailure(const APIResult& result) {
    submitting_ = false;
    updateControls();
    const bool offline = !result.ok() && result.error().is(APIError::Kind::noInternetConnection);
    showCatalogueAlert(offline ? Codes::noInternetConnection : Codes::missingMessage);
}

void OstrivaneQuizViewController::showVerdict(const QList<StructQuizResult>& verdicts) {
    if (verdicts.isEmpty()) {
        showSubmissionFailure(APIResult::failure(APIError::noData()));
        return;
    }
    submitting_ = false;
    verdictShown_ = true;
    updateControls();
    const StructQuizResult& verdict = verdicts.first();
    if (verdict.quizResult) {
        // A quiz that was passed is done: taken again, it starts at its first question.
        if (const Quiz* quiz = currentQuiz())
            setAppUserDefault(progressKey(*quiz), QString::number(0));
        labelQuestionsTitle_->setText(Texts::quizComplete);
        labelQuizComplete_->setText(Texts::quizPassed);
        buttonPrevious_->hide();
        buttonNext_->hide();
        buttonSaveAndContinue_->hide();
        for (QWidget* view : questionViews_)
            view->hide();
        labelQuizComplete_->show();
        quizCompleteView_->show();
        // The slide ends where the view stands: lay the screen out without the question views
        // first, or it ends where the view stood beside them.
        layout()->activate();
        addtransition(quizCompleteView_, TransitionDirection::fromRight);
        return;
    }
    const qsizetype wrong = verdict.wrongQuizChoices ? verdict.wrongQuizChoices->size() : 0;
    const qsizetype total = currentQuiz() ? currentQuiz()->QuizQuestions.size() : 0;
    // Without the note in the catalogue there is no sheet: the last question stays, and Next
    // submits again.
    const std::optional<StructEuaMessage> note = euaMessage(Codes::quizFailedNote);
    if (!note)
        return;
    OstrivaneQuizAlertView* sheet =
        addQuizAlertView(AppConstants::Alerts::titles::notification, Descriptions::quizFailedHeader,
                         QString::number(wrong) + Texts::questionTitleOf + QString::number(total) +
                             Descriptions::questionsAnsweredIncorrectly,
                         note->messagerDescriptionUserFriendly, QString(), Qt::AlignLeft);
    // A verdict without its list of wrong choices says nothing of what to answer again:
    // resuming then only closes the sheet, and the user stays on the last question with the
    // answers as they are, without a new attempt.
    if (sheet && !verdict.wrongQuizChoices)
        sheet->setResumeStartsNewAttempt(false);
}

void OstrivaneQuizViewController::quizRetry(const QVariant& notification) {
    Q_UNUSED(notification);
    // The fourth attempt is told of the limit, and starts only when there is a text to tell
    // it with; every later attempt starts without a word.
    if (AppState::g_quizFailAttempts == 3) {
        if (!euaMessage(Codes::quizRetryLimitReached))
            return;
        MainQueue::async(this, [this] { showCatalogueAlert(Codes::quizRetryLimitReached); });
    }
    // Only an attempt that goes ahead narrows the quiz; a refused one leaves the screen as the
    // verdict found it, where the user can still answer, save or leave.
    ++AppState::g_quizFailAttempts;
    narrowToQuestionsToRetake();
    setCurrentQuestionIndex(0);
    viewDidLoad();
}

void OstrivaneQuizViewController::saveAndContinueButtonClicked() {
    // Leaving while the answers are judged would lose the verdict; with no quiz there is
    // nothing to save.
    if (!canUseControls())
        return;
    if (OstrivaneQuizAlertView* sheet = addQuizAlertView(
            AppConstants::Alerts::titles::saveAndContinueLater, QString(),
            Descriptions::saveProgressQuestion, Descriptions::saveProgressNote, std::nullopt))
        sheet->setResumeStartsNewAttempt(false);
}

void OstrivaneQuizViewController::saveAndContinueLater() {
    Logger::log(SCREEN_LOG_PREFIX_FN("saveAndContinueLater()"));
    if (!canUseControls())
        return;
    if (!NetworkManager::shared().isConnected()) {
        // The quiz stays; the user learns why it did not close.
        MainQueue::async(this, [this] { showCatalogueAlert(Codes::noInternetConnection); });
        return;
    }
    // The last question shown may not have been saved (a full disk then): the quiz closes only
    // once its progress is in the file.
    if (!setAppUserDefault(progressKey(*currentQuiz()), QString::number(currentQuestionIndex_)))
        return;
    GlobalManager::shared().setAuditHistory(Codes::quizSavedLaterOrContinue,
                                            AuditStates::stateQuizSavedForLater);
    if (ChildViewControllerDelegate* owner = delegate())
        owner->removeChildViewController();
}

void OstrivaneQuizViewController::startTransmitterUpgradeButtonClicked() {
    buttonStartTransmitterUpgrade_->setEnabled(false);
    std::unique_ptr<ViewController> scene =
        Storyboard::main().instantiate(AppConstants::Scenes::checkForUpgradesViewController);
    auto* upgrade = qobject_cast<OstrivaneCheckForUpgradesViewController*>(scene.get());
    if (!upgrade)
        return;
    scene.release();
    addChild(upgrade);
    upgrade->setDelegate(this);
    upgradeChildViewController_ = upgrade;
}

OstrivaneCheckForUpgradesViewController*
OstrivaneQuizViewController::upgradeChildViewController() const {
    return qobject_cast<OstrivaneCheckForUpgradesViewController*>(
        upgradeChildViewController_.data());
}

void OstrivaneQuizViewController::removeChildViewController() {
    if (!upgradeChildViewController_)
        return;
    upgradeChildViewController_->removeFromParent();
    upgradeChildViewController_ = nullptr;
    AppState::g_isReturningFromUpgrade = true;
}

OstrivaneQuizAlertView* OstrivaneQuizViewController::addQuizAlertView(
    const QString& headerPrimaryText, const std::optional<QString>& headerSecondaryText,
    const QString& message, const QString& note, const std::optional<QString>& subHeading,
    std::optional<Qt::Alignment> textAlignment) {
    std::unique_ptr<ViewController> scene =
        Storyboard::main().instantiate(AppConstants::Scenes::quizAlertView);
    auto* sheet = qobject_cast<OstrivaneQuizAlertView*>(scene.get());
    if (!sheet)
        return nullptr;
    scene.release();
    sheet->setDelegate(this);
    sheet->dataInfo = QuizAlertInfo{headerPrimaryText, headerSecondaryText, message, note,
                                    subHeading,        textAlignment};
    return presentAsSheet(sheet) ? sheet : nullptr;
}
