#include "quiz/OstrivaneQuizViewController.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Extensions.h"
#include "core/SaveFailure.h"
#include "platform/MainQueue.h"
#include "platform/NamedColors.h"
#include "quiz/QuizAnswerList.h"
#include "quiz/QuizProgress.h"
#include "shell/OstrivaneAlerts.h"
#include "signin/AppUserDefaultStore.h"

QString OstrivaneQuizViewController::getAppUserDefault(const QString& key) {
    return AppUserDefaultStore::getAppUserDefault(key);
}

bool OstrivaneQuizViewController::setAppUserDefault(const QString& key, const QString& value) {
    const DurableFile::Result saved = AppUserDefaultStore::setAppUserDefault(key, value);
    // Without a place for the file there is nothing the user could do about it.
    if (saved || !AppState::g_appUserDefaultUrl)
        return true;
    const QString text = SaveFailure::alertText(
        AppConstants::Alerts::descriptions::quizProgressCouldNotBeSaved, saved.error, saved.noRoom);
    // After the question is on screen, so that the alert has a window to sit on.
    MainQueue::async(this, [this, text] {
        addAlertView(this, AppConstants::Alerts::titles::notification, std::nullopt, text, true);
    });
    return false;
}

QString OstrivaneQuizViewController::progressKey(const Quiz& quiz) {
    return QuizProgress::progressKey(AppState::g_deviceID, AppState::g_fullVersionFromTxForAudit,
                                     quiz.QuizID);
}

void OstrivaneQuizViewController::colourProgressUpTo(int index) {
    for (int dot = 0; dot < progressViews_.size(); ++dot)
        Extensions::setBackgroundColor(
            progressViews_.at(dot),
            NamedColors::color(dot <= index ? NamedColors::blue : NamedColors::grey));
}

void OstrivaneQuizViewController::resumeAtStoredQuestion() {
    const Quiz* quiz = currentQuiz();
    if (!quiz)
        return;
    const int index = QuizProgress::resumeIndex(getAppUserDefault(progressKey(*quiz)),
                                                quiz->QuizQuestions.size());
    if (index <= 0)
        return;
    skippedQuestionCount_ = index;
    reopening_ = true;
    setCurrentQuestionIndex(index);
    colourProgressUpTo(index);
}

bool OstrivaneQuizViewController::finishReopening(const QList<int>& ids) {
    const int skipped = skippedQuestionCount_;
    skippedQuestionCount_ = 0;
    const Quiz* quiz = currentQuiz();
    if (!quiz || skipped <= 0)
        return false;
    // The questions passed over get their tracker answers as if they had been shown, so that
    // the submission holds them too.
    const QList<QuizQuestion> questions = quiz->QuizQuestions.mid(0, skipped);
    for (const QuizQuestion& question : questions) {
        if (!trackerMayAnswer(question))
            continue;
        for (const QuizChoice& choice : question.QuizChoices)
            if (ids.contains(choice.ChoiceID))
                QuizAnswerList::record(
                    AppState::QuizChoices,
                    {choice.QuestionID, choice.ChoiceID, question.QuestionTypeId},
                    question.QuestionTypeId == static_cast<int>(QuizType::multiCheckbox), false);
    }
    // Next asks for an answer on every question, and reopening must not pass one by: the quiz
    // opens at the first question passed over without an answer.
    for (int index = 0; index < questions.size() && index < currentQuestionIndex_; ++index)
        if (!QuizAnswerList::isAnswered(questions.at(index), AppState::QuizChoices)) {
            setCurrentQuestionIndex(index);
            colourProgressUpTo(index);
            displayQuestion(true);
            return true;
        }
    return false;
}
