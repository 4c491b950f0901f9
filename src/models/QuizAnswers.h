#pragma once

#include "models/JsonDecoder.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

// One answer the user recorded in the quiz.
struct StructQuizChoicesSubmit {
    int questionid = 0;
    int choiceid = 0;
    int questiontypeid = 0;

    StructQuizChoicesSubmit() = default;
    StructQuizChoicesSubmit(int questionid_, int choiceid_, int questiontypeid_)
        : questionid(questionid_), choiceid(choiceid_), questiontypeid(questiontypeid_) {}
    friend bool operator==(const StructQuizChoicesSubmit&,
                           const StructQuizChoicesSubmit&) = default;
};

// A row of the cloud's quiz answer tracker. JSON keys equal the field names.
struct StructGetUserQuizTracker {
    QString UserID;
    int QuizID = 0;
    int TransmitterID = 0;
    std::optional<QString> FirmwareVersion;
    std::optional<QString> ChoiceSelectionJSON;

    static StructGetUserQuizTracker decode(JsonObjectReader& reader);
};

// One chosen answer of the submission body; encoded only.
struct QuizChoice1 {
    int choiceID = 0; // "choiceID"

    QJsonObject toJson() const;
};

// One question of the submission body; encoded only. Note the key "questionID" in lower camel
// case beside "QuizID", "QuestionTypeId" and "QuizChoices": the cloud expects exactly these.
struct QuizQuestion1 {
    int quizID = 0;                 // "QuizID"
    int questionID = 0;             // "questionID"
    int questionTypeID = 0;         // "QuestionTypeId"
    QList<QuizChoice1> quizChoices; // "QuizChoices"

    QJsonObject toJson() const;
};
