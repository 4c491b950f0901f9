#include "quiz/QuizProgress.h"

#include <algorithm>

QString QuizProgress::progressKey(const std::optional<QString>& deviceID,
                                  const std::optional<QString>& firmwareVersion, int quizID) {
    return deviceID.value_or(QString()) + QLatin1Char('-') + firmwareVersion.value_or(QString()) +
           QLatin1Char('-') + QString::number(quizID);
}

int QuizProgress::resumeIndex(const QString& storedValue, qsizetype questionCount) {
    bool ok = false;
    const int stored = storedValue.toInt(&ok);
    if (!ok || stored < 0 || questionCount <= 0)
        return 0;
    return static_cast<int>(std::min<qsizetype>(stored, questionCount - 1));
}

bool QuizProgress::narrowToWrongQuestions(Quiz& quiz, const StructQuizResult& verdict) {
    if (!verdict.wrongQuizChoices)
        return false;
    QList<QuizQuestion> kept;
    for (const QuizQuestion& question : quiz.QuizQuestions)
        if (std::any_of(
                verdict.wrongQuizChoices->cbegin(), verdict.wrongQuizChoices->cend(),
                [&](const QuizChoice2& wrong) { return wrong.questionID == question.QuestionID; }))
            kept.append(question);
    if (!kept.isEmpty())
        quiz.QuizQuestions = kept;
    return true;
}
