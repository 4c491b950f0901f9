#include "models/StructQuizResult.h"

QuizChoice2 QuizChoice2::decode(JsonObjectReader& reader) {
    QuizChoice2 choice;
    choice.choiceID = reader.requiredInt(QStringLiteral("ChoiceID"));
    // The three texts arrive as null in practice; text is accepted too, so that a verdict
    // that names its choices' texts still decodes.
    choice.choiceText = reader.optionalString(QStringLiteral("ChoiceText"));
    choice.questionID = reader.requiredInt(QStringLiteral("QuestionID"));
    choice.imageFlag = reader.requiredBool(QStringLiteral("ImageFlag"));
    choice.imageURL = reader.optionalString(QStringLiteral("ImageURL"));
    choice.videoFlag = reader.requiredBool(QStringLiteral("VideoFlag"));
    choice.videoURL = reader.optionalString(QStringLiteral("VideoURL"));
    return choice;
}

StructQuizResult StructQuizResult::decode(JsonObjectReader& reader) {
    StructQuizResult result;
    result.quizResult = reader.requiredBool(QStringLiteral("QuizResult"));
    result.wrongQuizChoices = reader.optionalArray<QuizChoice2>(QStringLiteral("WrongQuizChoices"));
    result.missingMulticheckboxQuizChoices =
        reader.optionalArray<QuizChoice2>(QStringLiteral("MissingMulticheckboxQuizChoices"));
    return result;
}
