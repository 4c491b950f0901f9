// The one decoding rule, applied to every record kind the cloud sends: each required key
// missing, null or mistyped fails the whole document (with a message naming the key), each
// optional key absent or null still decodes, a mistyped optional key fails.
#include "models/AuditHistoryElement.h"
#include "models/EuaMessage.h"
#include "models/Quiz.h"
#include "models/QuizAnswers.h"
#include "models/StructGetFromZubAppConfig.h"
#include "models/StructQuizResult.h"
#include "models/UserFirmwareInfo.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

using Decode = std::function<QString(const QByteArray&)>; // the error, empty on success

template <typename T> Decode decoderOf() {
    return [](const QByteArray& json) {
        const DecodeResult<T> result = JsonDecoder::decodeObject<T>(json);
        return result ? QString() : result.error();
    };
}

struct RecordKind {
    const char* name;
    QJsonObject sample;
    QStringList required;
    QStringList optional;
    Decode decode;
};

QJsonObject choiceSample() {
    return {{u"ChoiceID"_s, 1001},      {u"ChoiceText"_s, u"Yes"_s}, {u"QuestionID"_s, 101},
            {u"ImageFlag"_s, false},    {u"ImageURL"_s, u"x.png"_s}, {u"VideoFlag"_s, false},
            {u"VideoURL"_s, u"v.mp4"_s}};
}

QJsonObject questionSample() {
    return {{u"QuestionID"_s, 101},   {u"QuestionDescription"_s, u"Which?"_s},
            {u"QuestionTypeId"_s, 2}, {u"QuizChoices"_s, QJsonArray{choiceSample()}},
            {u"ImageFlag"_s, true},   {u"ImageURL"_s, u"q.png"_s},
            {u"VideoFlag"_s, false},  {u"VideoURL"_s, u"q.mp4"_s}};
}

QJsonObject quizSample() {
    return {{u"QuizID"_s, 7},
            {u"QuizTitle"_s, u"Upgrade training"_s},
            {u"Description"_s, u"Read"_s},
            {u"FirmwareQuizID"_s, 3},
            {u"FirmwareID"_s, 12},
            {u"FirmwareVersion"_s, u"2.1.0"_s},
            {u"QuizQuestions"_s, QJsonArray{questionSample()}}};
}

QJsonObject verdictChoiceSample() {
    return {{u"ChoiceID"_s, 5},
            {u"ChoiceText"_s, QJsonValue::Null},
            {u"QuestionID"_s, 102},
            {u"ImageFlag"_s, false},
            {u"ImageURL"_s, QJsonValue::Null},
            {u"VideoFlag"_s, false},
            {u"VideoURL"_s, QJsonValue::Null}};
}

QList<RecordKind> recordKinds() {
    return {
        {"StructEuaMessage",
         {{u"MessageCode"_s, u"8000008"_s},
          {u"Language"_s, u"en"_s},
          {u"MessageDescription"_s, u"Transmitter not found"_s},
          {u"MessagerDescriptionUserFriendly"_s, u"Please connect your transmitter."_s},
          {u"Platform"_s, u"Mac"_s},
          {u"IsShowCode"_s, true}},
         {u"MessageCode"_s, u"MessageDescription"_s, u"MessagerDescriptionUserFriendly"_s},
         {u"Language"_s, u"Platform"_s, u"IsShowCode"_s},
         decoderOf<StructEuaMessage>()},
        {"UserFirmwareInfo",
         {{u"Id"_s, u"user-1"_s},
          {u"TransmitterID"_s, 4711},
          {u"TransmitterVersionNo"_s, u"2.1.0"_s},
          {u"SensorID"_s, u"S-9"_s},
          {u"InsertionDateTime"_s, u"12/01/2026"_s},
          {u"AppVersion"_s, u"6.3"_s}},
         {u"Id"_s},
         {u"TransmitterID"_s, u"TransmitterVersionNo"_s, u"SensorID"_s, u"InsertionDateTime"_s,
          u"AppVersion"_s},
         decoderOf<UserFirmwareInfo>()},
        {"AuditHistoryElement",
         {{u"Id"_s, 1},
          {u"UserID"_s, u"user-1"_s},
          {u"AuditDate"_s, u"12/06/2026"_s},
          {u"TransmitterID"_s, u"T123"_s},
          {u"FirmwareID"_s, u"2.1.0"_s},
          {u"ErrorCode"_s, u"8000003"_s},
          {u"FailureDescription"_s, u"Upload ok"_s},
          {u"ActiveFlag"_s, true}},
         {u"Id"_s},
         {u"UserID"_s, u"AuditDate"_s, u"TransmitterID"_s, u"FirmwareID"_s, u"ErrorCode"_s,
          u"FailureDescription"_s, u"ActiveFlag"_s},
         decoderOf<AuditHistoryElement>()},
        {"StructGetFromZubAppConfig",
         {{u"Name"_s, u"ZubSupportEmail"_s},
          {u"Value"_s, u"help@example.com"_s},
          {u"Language"_s, u"en"_s},
          {u"ActiveFlag"_s, true}},
         {},
         {u"Name"_s, u"Value"_s, u"Language"_s, u"ActiveFlag"_s},
         decoderOf<StructGetFromZubAppConfig>()},
        {"Quiz",
         quizSample(),
         {u"QuizID"_s, u"FirmwareQuizID"_s, u"FirmwareID"_s, u"QuizQuestions"_s},
         {u"QuizTitle"_s, u"Description"_s, u"FirmwareVersion"_s},
         decoderOf<Quiz>()},
        {"QuizQuestion",
         questionSample(),
         {u"QuestionID"_s, u"QuestionTypeId"_s, u"QuizChoices"_s},
         {u"QuestionDescription"_s, u"ImageFlag"_s, u"ImageURL"_s, u"VideoFlag"_s, u"VideoURL"_s},
         decoderOf<QuizQuestion>()},
        {"QuizChoice",
         choiceSample(),
         {u"ChoiceID"_s, u"QuestionID"_s},
         {u"ChoiceText"_s, u"ImageFlag"_s, u"ImageURL"_s, u"VideoFlag"_s, u"VideoURL"_s},
         decoderOf<QuizChoice>()},
        {"StructGetUserQuizTracker",
         {{u"UserID"_s, u"user-1"_s},
          {u"QuizID"_s, 7},
          {u"TransmitterID"_s, 0},
          {u"FirmwareVersion"_s, u"2.1.0"_s},
          {u"ChoiceSelectionJSON"_s, u"[{\"ChoiceID\":12}]"_s}},
         {u"UserID"_s, u"QuizID"_s, u"TransmitterID"_s},
         {u"FirmwareVersion"_s, u"ChoiceSelectionJSON"_s},
         decoderOf<StructGetUserQuizTracker>()},
        {"StructQuizResult",
         {{u"QuizResult"_s, false},
          {u"WrongQuizChoices"_s, QJsonArray{verdictChoiceSample()}},
          {u"MissingMulticheckboxQuizChoices"_s, QJsonArray{}}},
         {u"QuizResult"_s},
         {u"WrongQuizChoices"_s, u"MissingMulticheckboxQuizChoices"_s},
         decoderOf<StructQuizResult>()},
        {"QuizChoice2",
         verdictChoiceSample(),
         {u"ChoiceID"_s, u"QuestionID"_s, u"ImageFlag"_s, u"VideoFlag"_s},
         {u"ChoiceText"_s, u"ImageURL"_s, u"VideoURL"_s},
         decoderOf<QuizChoice2>()},
    };
}

QByteArray bytes(const QJsonObject& object) {
    return QJsonDocument(object).toJson();
}

// A value of another JSON type than the given one.
QJsonValue mistyped(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return 5;
    case QJsonValue::Double:
        return QStringLiteral("5");
    case QJsonValue::Bool:
        return QStringLiteral("true");
    case QJsonValue::Array:
        return QJsonObject{};
    default:
        return true;
    }
}

// The record's sample with one key removed, null or of another type; the decoder's verdict.
struct Variants {
    QString missing;
    QString null;
    QString wrong;
};

Variants decodeVariants(const RecordKind& kind, const QString& key) {
    QJsonObject missing = kind.sample;
    missing.remove(key);
    QJsonObject null = kind.sample;
    null.insert(key, QJsonValue::Null);
    QJsonObject wrong = kind.sample;
    wrong.insert(key, mistyped(kind.sample.value(key)));
    return {kind.decode(bytes(missing)), kind.decode(bytes(null)), kind.decode(bytes(wrong))};
}

TEST(DecodingRule, TheSampleOfEveryRecordKindDecodes) {
    for (const RecordKind& kind : recordKinds())
        EXPECT_EQ(kind.decode(bytes(kind.sample)), QString()) << kind.name;
}

TEST(DecodingRule, ARequiredKeyMissingNullOrMistypedFailsTheRecordAndIsNamed) {
    for (const RecordKind& kind : recordKinds()) {
        for (const QString& key : kind.required) {
            SCOPED_TRACE(std::string(kind.name) + "." + key.toStdString());
            const Variants v = decodeVariants(kind, key);
            EXPECT_TRUE(v.missing.startsWith(key + u": required key is missing"_s))
                << v.missing.toStdString();
            EXPECT_TRUE(v.null.startsWith(key + u": required key is null"_s))
                << v.null.toStdString();
            EXPECT_TRUE(v.wrong.startsWith(key + u": expected"_s)) << v.wrong.toStdString();
        }
    }
}

TEST(DecodingRule, AnOptionalKeyAbsentOrNullDecodesButMistypedFails) {
    for (const RecordKind& kind : recordKinds()) {
        for (const QString& key : kind.optional) {
            SCOPED_TRACE(std::string(kind.name) + "." + key.toStdString());
            const Variants v = decodeVariants(kind, key);
            EXPECT_EQ(v.missing, QString());
            EXPECT_EQ(v.null, QString());
            // A null in the sample says nothing of the key's type.
            if (!kind.sample.value(key).isNull()) {
                EXPECT_TRUE(v.wrong.startsWith(key + u": expected"_s)) << v.wrong.toStdString();
            }
        }
    }
}

TEST(DecodingRule, UnknownKeysAreIgnored) {
    for (const RecordKind& kind : recordKinds()) {
        QJsonObject extended = kind.sample;
        extended.insert(QStringLiteral("SomethingNew"), QJsonArray{1, 2});
        EXPECT_EQ(kind.decode(bytes(extended)), QString()) << kind.name;
    }
}

} // namespace
