#pragma once

#include "models/JsonDecoder.h"

#include <QList>
#include <QString>

#include <optional>

// The training quiz as the cloud describes it. JSON keys equal the field names. The image and
// video fields are decoded but never shown.

// The media fields that questions and choices both carry.
struct QuizMedia {
    std::optional<bool> ImageFlag;
    std::optional<QString> ImageURL;
    std::optional<bool> VideoFlag;
    std::optional<QString> VideoURL;

    void decodeMedia(JsonObjectReader& reader);
};

struct QuizChoice : QuizMedia {
    int ChoiceID = 0;
    std::optional<QString> ChoiceText;
    int QuestionID = 0;

    static QuizChoice decode(JsonObjectReader& reader);
};

struct QuizQuestion : QuizMedia {
    int QuestionID = 0;
    std::optional<QString> QuestionDescription;
    // 1 multiple checkbox, 2 radio, 3 true or false; other values occur.
    int QuestionTypeId = 0;
    QList<QuizChoice> QuizChoices;

    static QuizQuestion decode(JsonObjectReader& reader);
};

struct Quiz {
    int QuizID = 0;
    std::optional<QString> QuizTitle;
    std::optional<QString> Description;
    int FirmwareQuizID = 0;
    int FirmwareID = 0;
    std::optional<QString> FirmwareVersion;
    QList<QuizQuestion> QuizQuestions;

    static Quiz decode(JsonObjectReader& reader);
};
