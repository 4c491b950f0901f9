#include "quiz/OstrivaneQuizViewController.h"

#include "core/AppState.h"
#include "core/Extensions.h"
#include "platform/NamedColors.h"
#include "quiz/QuizAnswerList.h"
#include "quiz/QuizProgress.h"
#include "signin/AppUserDefaultStore.h"

QString OstrivaneQuizViewController::getAppUserDefault(const QString& key) {
    return AppUserDefaultStore::getAppUserDefault(key);
}

void OstrivaneQuizViewController::setAppUserDefault(const QString& key, const QString& value) {
    AppUserDefaultStore::setAppUserDefault(key, value);
}

void OstrivaneQuizViewController::resumeAtStoredQuestion() {
    const Quiz* quiz = currentQuiz();
    if (!quiz)
        return;
    const QString stored = getAppUserDefault(QuizProgress::progressKey(
        AppState::g_deviceID, AppState::g_fullVersionFromTxForAudit, quiz->QuizID));
    const int index = QuizProgress::resumeIndex(stored, quiz->QuizQuestions.size());
    if (index <= 0)
        return;
    skippedQuestionCount_ = index;
    setCurrentQuestionIndex(index);
    for (int dot = 0; dot <= index && dot < progressViews_.size(); ++dot)
        Extensions::setBackgroundColor(progressViews_.at(dot),
                                       NamedColors::color(NamedColors::blue));
}

void OstrivaneQuizViewController::restoreSkippedQuestions(const QList<int>& ids) {
    // The questions passed over on reopening get their tracker answers as if they had been
    // shown, so that the submission holds them too; those already answered keep their answer.
    const Quiz* quiz = currentQuiz();
    const int skipped = skippedQuestionCount_;
    skippedQuestionCount_ = 0;
    if (!quiz)
        return;
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
}
