#pragma once

#include "models/JsonDecoder.h"

#include <QList>
#include <QString>

#include <optional>

// A choice named in the cloud's verdict on a quiz submission.
struct QuizChoice2 {
    int choiceID = 0;                  // "ChoiceID"
    std::optional<QString> choiceText; // "ChoiceText"
    int questionID = 0;                // "QuestionID"
    bool imageFlag = false;            // "ImageFlag"
    std::optional<QString> imageURL;   // "ImageURL"
    bool videoFlag = false;            // "VideoFlag"
    std::optional<QString> videoURL;   // "VideoURL"

    static QuizChoice2 decode(JsonObjectReader& reader);
};

// The cloud's verdict on a quiz submission; the reply is a JSON array of these.
struct StructQuizResult {
    bool quizResult = false;                            // "QuizResult"
    std::optional<QList<QuizChoice2>> wrongQuizChoices; // "WrongQuizChoices"
    std::optional<QList<QuizChoice2>>
        missingMulticheckboxQuizChoices; // "MissingMulticheckboxQuizChoices"

    static StructQuizResult decode(JsonObjectReader& reader);
};
