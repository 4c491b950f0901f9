#include "models/Quiz.h"

namespace {
// The media fields that questions and choices share.
template <typename Record> void decodeMedia(Record& record, JsonObjectReader& reader) {
    record.ImageFlag = reader.optionalBool(QStringLiteral("ImageFlag"));
    record.ImageURL = reader.optionalString(QStringLiteral("ImageURL"));
    record.VideoFlag = reader.optionalBool(QStringLiteral("VideoFlag"));
    record.VideoURL = reader.optionalString(QStringLiteral("VideoURL"));
}
} // namespace

QuizChoice QuizChoice::decode(JsonObjectReader& reader) {
    QuizChoice choice;
    choice.ChoiceID = reader.requiredInt(QStringLiteral("ChoiceID"));
    choice.ChoiceText = reader.optionalString(QStringLiteral("ChoiceText"));
    choice.QuestionID = reader.requiredInt(QStringLiteral("QuestionID"));
    decodeMedia(choice, reader);
    return choice;
}

QuizQuestion QuizQuestion::decode(JsonObjectReader& reader) {
    QuizQuestion question;
    question.QuestionID = reader.requiredInt(QStringLiteral("QuestionID"));
    question.QuestionDescription = reader.optionalString(QStringLiteral("QuestionDescription"));
    question.QuestionTypeId = reader.requiredInt(QStringLiteral("QuestionTypeId"));
    question.QuizChoices = reader.requiredArray<QuizChoice>(QStringLiteral("QuizChoices"));
    decodeMedia(question, reader);
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
