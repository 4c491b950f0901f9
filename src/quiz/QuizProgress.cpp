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

QList<QuizQuestion> QuizProgress::questionsToRetake(const Quiz& whole,
                                                    const StructQuizResult& verdict) {
    if (!verdict.wrongQuizChoices || verdict.wrongQuizChoices->isEmpty())
        return whole.QuizQuestions;
    QList<QuizChoice2> named = *verdict.wrongQuizChoices;
    named.append(verdict.missingMulticheckboxQuizChoices.value_or(QList<QuizChoice2>()));
    QList<QuizQuestion> kept;
    for (const QuizQuestion& question : whole.QuizQuestions)
        if (std::any_of(named.cbegin(), named.cend(), [&](const QuizChoice2& choice) {
                return choice.questionID == question.QuestionID;
            }))
            kept.append(question);
    return kept.isEmpty() ? whole.QuizQuestions : kept;
}
