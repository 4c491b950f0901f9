#include "models/Quiz.h"

void QuizMedia::decodeMedia(JsonObjectReader& reader) {
    ImageFlag = reader.optionalBool(QStringLiteral("ImageFlag"));
    ImageURL = reader.optionalString(QStringLiteral("ImageURL"));
    VideoFlag = reader.optionalBool(QStringLiteral("VideoFlag"));
    VideoURL = reader.optionalString(QStringLiteral("VideoURL"));
}

QuizChoice QuizChoice::decode(JsonObjectReader& reader) {
    QuizChoice choice;
    choice.ChoiceID = reader.requiredInt(QStringLiteral("ChoiceID"));
    choice.ChoiceText = reader.optionalString(QStringLiteral("ChoiceText"));
    choice.QuestionID = reader.requiredInt(QStringLiteral("QuestionID"));
    choice.decodeMedia(reader);
    return choice;
}

QuizQuestion QuizQuestion::decode(JsonObjectReader& reader) {
    QuizQuestion question;
    question.QuestionID = reader.requiredInt(QStringLiteral("QuestionID"));
    question.QuestionDescription = reader.optionalString(QStringLiteral("QuestionDescription"));
    question.QuestionTypeId = reader.requiredInt(QStringLiteral("QuestionTypeId"));
    question.QuizChoices = reader.requiredArray<QuizChoice>(QStringLiteral("QuizChoices"));
    question.decodeMedia(reader);
    return question;
}

Quiz Quiz::decode(JsonObjectReader& reader) {
    Quiz quiz;
    quiz.QuizID = reader.requiredInt(QStringLiteral("QuizID"));
    quiz.QuizTitle = reader.optionalString(QStringLiteral("QuizTitle"));
    quiz.Description = reader.optionalString(QStringLiteral("Description"));
    quiz.FirmwareQuizID = reader.requiredInt(QStringLiteral("FirmwareQuizID"));
    quiz.FirmwareID = reader.requiredInt(QStringLiteral("FirmwareID"));
    quiz.FirmwareVersion = reader.optionalString(QStringLiteral("FirmwareVersion"));
    quiz.QuizQuestions = reader.requiredArray<QuizQuestion>(QStringLiteral("QuizQuestions"));
    return quiz;
}
