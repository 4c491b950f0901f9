// What the decoded records hold, how whole documents and arrays decode, the catalogue
// look-up and the submission records' encoding.
#include "core/AppState.h"
#include "models/AuditHistoryElement.h"
#include "models/EuaMessage.h"
#include "models/Quiz.h"
#include "models/QuizAnswers.h"
#include "models/StructQuizResult.h"
#include "models/UserFirmwareInfo.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray kQuizDocument = R"([{
  "QuizID": 7, "QuizTitle": "Upgrade training", "FirmwareQuizID": 3, "FirmwareID": 12,
  "FirmwareVersion": null,
  "QuizQuestions": [
    {"QuestionID": 101, "QuestionDescription": "Pick one", "QuestionTypeId": 2,
     "QuizChoices": [{"ChoiceID": 1001, "ChoiceText": "Yes", "QuestionID": 101},
                     {"ChoiceID": 1002, "QuestionID": 101, "ImageFlag": true}]},
    {"QuestionID": 102, "QuestionTypeId": 1, "QuizChoices": []}
  ]}])";

TEST(Records, AQuizDecodesIntoItsFieldsInDocumentOrder) {
    const auto quizzes = JsonDecoder::decodeArray<Quiz>(kQuizDocument);
    ASSERT_TRUE(quizzes) << quizzes.error().toStdString();
    ASSERT_EQ(quizzes.value().size(), 1);
    const Quiz& quiz = quizzes.value().first();
    EXPECT_EQ(quiz.QuizID, 7);
    EXPECT_EQ(quiz.QuizTitle, u"Upgrade training"_s);
    EXPECT_EQ(quiz.Description, std::nullopt);
    EXPECT_EQ(quiz.FirmwareQuizID, 3);
    EXPECT_EQ(quiz.FirmwareID, 12);
    EXPECT_EQ(quiz.FirmwareVersion, std::nullopt);
    ASSERT_EQ(quiz.QuizQuestions.size(), 2);
    const QuizQuestion& first = quiz.QuizQuestions.first();
    EXPECT_EQ(first.QuestionID, 101);
    EXPECT_EQ(first.QuestionDescription, u"Pick one"_s);
    EXPECT_EQ(first.QuestionTypeId, 2);
    ASSERT_EQ(first.QuizChoices.size(), 2);
    EXPECT_EQ(first.QuizChoices[0].ChoiceID, 1001);
    EXPECT_EQ(first.QuizChoices[0].ChoiceText, u"Yes"_s);
    EXPECT_EQ(first.QuizChoices[1].ChoiceID, 1002);
    EXPECT_EQ(first.QuizChoices[1].ChoiceText, std::nullopt);
    EXPECT_EQ(first.QuizChoices[1].ImageFlag, true);
    EXPECT_TRUE(quiz.QuizQuestions[1].QuizChoices.isEmpty());
}

TEST(Records, OneBadElementAnywhereFailsTheWholeArrayAndIsLocated) {
    QByteArray broken = kQuizDocument;
    broken.replace(R"({"ChoiceID": 1002, "QuestionID": 101)", R"({"ChoiceID": 1002)");
    const auto quizzes = JsonDecoder::decodeArray<Quiz>(broken);
    EXPECT_FALSE(quizzes);
    EXPECT_EQ(quizzes.error(),
              u"[0].QuizQuestions[0].QuizChoices[1].QuestionID: required key is missing"_s);

    const auto rows = JsonDecoder::decodeArray<AuditHistoryElement>(
        R"([{"Id": 1}, {"Id": 2}, {"Id": "3"}, {"Id": 4}])");
    EXPECT_FALSE(rows);
    EXPECT_EQ(rows.error(), u"[2].Id: expected an integer, found text"_s);
}

TEST(Records, IntegersMustBeWholeNumbersWithinRange) {
    const auto decodeId = [](const QByteArray& id) {
        return JsonDecoder::decodeObject<AuditHistoryElement>("{\"Id\": " + id + "}");
    };
    EXPECT_EQ(decodeId("42").value().id, 42);
    EXPECT_EQ(decodeId("-7").value().id, -7);
    EXPECT_EQ(decodeId("3.0").value().id, 3); // integral value written with a fraction
    EXPECT_FALSE(decodeId("1.5"));
    EXPECT_FALSE(decodeId("3000000000"));
    EXPECT_FALSE(decodeId("true"));
}

TEST(Records, DocumentsOfTheWrongShapeOrNotJsonFailWithAMessage) {
    EXPECT_EQ(JsonDecoder::decodeArray<StructEuaMessage>("{}").error(),
              u"document: expected an array"_s);
    EXPECT_EQ(JsonDecoder::decodeObject<UserFirmwareInfo>("[]").error(),
              u"document: expected an object"_s);
    EXPECT_EQ(JsonDecoder::decodeArray<StructEuaMessage>("[1]").error(),
              u"[0]: expected an object"_s);
    EXPECT_TRUE(JsonDecoder::decodeArray<StructEuaMessage>("[{\"MessageCode\": ")
                    .error()
                    .startsWith(u"not valid JSON at offset"_s));
    EXPECT_FALSE(JsonDecoder::decodeArray<StructEuaMessage>(""));
    EXPECT_TRUE(JsonDecoder::decodeArray<StructEuaMessage>("[]"));
}

TEST(Records, AVerdictKeepsItsChoicesAndAcceptsTheirTexts) {
    const auto verdicts = JsonDecoder::decodeArray<StructQuizResult>(R"([{
        "QuizResult": false,
        "WrongQuizChoices": [
          {"ChoiceID": 5, "ChoiceText": null, "QuestionID": 102, "ImageFlag": false,
           "ImageURL": null, "VideoFlag": false, "VideoURL": null},
          {"ChoiceID": 6, "ChoiceText": "No", "QuestionID": 105, "ImageFlag": true,
           "ImageURL": "i.png", "VideoFlag": false}]}])");
    ASSERT_TRUE(verdicts) << verdicts.error().toStdString();
    const StructQuizResult& verdict = verdicts.value().first();
    EXPECT_FALSE(verdict.quizResult);
    EXPECT_EQ(verdict.missingMulticheckboxQuizChoices, std::nullopt);
    ASSERT_TRUE(verdict.wrongQuizChoices.has_value());
    ASSERT_EQ(verdict.wrongQuizChoices->size(), 2);
    EXPECT_EQ(verdict.wrongQuizChoices->at(0).questionID, 102);
    EXPECT_EQ(verdict.wrongQuizChoices->at(1).choiceID, 6);
    EXPECT_EQ(verdict.wrongQuizChoices->at(1).choiceText, u"No"_s);
    EXPECT_TRUE(verdict.wrongQuizChoices->at(1).imageFlag);
}

TEST(Records, TrackerRowsCatalogueEntriesAndFirmwareRecordsKeepTheirValues) {
    const auto rows = JsonDecoder::decodeArray<StructGetUserQuizTracker>(
        R"([{"UserID": "u", "QuizID": 7, "TransmitterID": 9, "ChoiceSelectionJSON": "[]"}])");
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows.value()[0].UserID, u"u"_s);
    EXPECT_EQ(rows.value()[0].QuizID, 7);
    EXPECT_EQ(rows.value()[0].TransmitterID, 9);
    EXPECT_EQ(rows.value()[0].FirmwareVersion, std::nullopt);
    EXPECT_EQ(rows.value()[0].ChoiceSelectionJSON, u"[]"_s);

    const auto entry = JsonDecoder::decodeObject<StructEuaMessage>(
        R"({"MessageCode": "5000025", "MessageDescription": "offline",
            "MessagerDescriptionUserFriendly": "Please check your connection."})");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry.value().messageCode, u"5000025"_s);
    EXPECT_EQ(entry.value().messageDescription, u"offline"_s);
    EXPECT_EQ(entry.value().messagerDescriptionUserFriendly, u"Please check your connection."_s);

    const auto info = JsonDecoder::decodeObject<UserFirmwareInfo>(
        R"({"Id": "abc", "TransmitterID": 12, "SensorID": "S1"})");
    ASSERT_TRUE(info);
    EXPECT_EQ(info.value().id, u"abc"_s);
    EXPECT_EQ(info.value().transmitterID, 12);
    EXPECT_EQ(info.value().sensorID, u"S1"_s);
    EXPECT_EQ(info.value().appVersion, std::nullopt);
}

TEST(Records, TheCatalogueLookUpFindsTheFirstEntryOfACode) {
    const auto entry = [](const QString& code, const QString& text) {
        StructEuaMessage m;
        m.messageCode = code;
        m.messagerDescriptionUserFriendly = text;
        return m;
    };
    const QList<StructEuaMessage> saved = AppState::EuaMessage;
    AppState::EuaMessage = {entry(u"8000008"_s, u"first"_s), entry(u"5000025"_s, u"other"_s),
                            entry(u"8000008"_s, u"second"_s)};
    EXPECT_EQ(euaMessage(u"8000008"_s)->messagerDescriptionUserFriendly, u"first"_s);
    EXPECT_EQ(euaMessage(u"5000025"_s)->messagerDescriptionUserFriendly, u"other"_s);
    EXPECT_EQ(euaMessage(u"7000008"_s), std::nullopt);
    EXPECT_EQ(euaMessage(QString()), std::nullopt);
    AppState::EuaMessage = saved;
}

TEST(Records, SubmissionRecordsEncodeWithTheCloudsKeys) {
    QuizQuestion1 question;
    question.quizID = 7;
    question.questionID = 102;
    question.questionTypeID = 1;
    question.quizChoices = {QuizChoice1{1005}, QuizChoice1{1006}};
    const QJsonObject json = question.toJson();
    EXPECT_EQ(json.keys(),
              (QStringList{u"QuestionTypeId"_s, u"QuizChoices"_s, u"QuizID"_s, u"questionID"_s}));
    EXPECT_EQ(QJsonDocument(json).toJson(QJsonDocument::Compact),
              QByteArray(R"({"QuestionTypeId":1,"QuizChoices":[{"choiceID":1005},)"
                         R"({"choiceID":1006}],"QuizID":7,"questionID":102})"));
}

} // namespace
