#include "models/QuizAnswers.h"

#include <QJsonArray>

StructGetUserQuizTracker StructGetUserQuizTracker::decode(JsonObjectReader& reader) {
    StructGetUserQuizTracker row;
    row.UserID = reader.requiredString(QStringLiteral("UserID"));
    row.QuizID = reader.requiredInt(QStringLiteral("QuizID"));
    row.TransmitterID = reader.requiredInt(QStringLiteral("TransmitterID"));
    row.FirmwareVersion = reader.optionalString(QStringLiteral("FirmwareVersion"));
    row.ChoiceSelectionJSON = reader.optionalString(QStringLiteral("ChoiceSelectionJSON"));
    return row;
}

QJsonObject QuizChoice1::toJson() const {
    return {{QStringLiteral("choiceID"), choiceID}};
}

QJsonObject QuizQuestion1::toJson() const {
    QJsonArray choices;
    for (const QuizChoice1& choice : quizChoices)
        choices.append(choice.toJson());
    return {{QStringLiteral("QuizID"), quizID},
            {QStringLiteral("questionID"), questionID},
            {QStringLiteral("QuestionTypeId"), questionTypeID},
            {QStringLiteral("QuizChoices"), choices}};
}
