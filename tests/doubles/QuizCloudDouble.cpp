#include "doubles/QuizCloudDouble.h"

#include "core/AppConstants.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

namespace Paths = AppConstants::API::Host::path;

namespace {

QUrlQuery formOf(const QByteArray& body) {
    return QUrlQuery(QString::fromUtf8(body));
}

QJsonObject namedChoice(int choiceID, int questionID) {
    return {{QStringLiteral("ChoiceID"), choiceID},
            {QStringLiteral("QuestionID"), questionID},
            {QStringLiteral("ChoiceText"), QJsonValue::Null},
            {QStringLiteral("ImageFlag"), false},
            {QStringLiteral("ImageURL"), QJsonValue::Null},
            {QStringLiteral("VideoFlag"), false},
            {QStringLiteral("VideoURL"), QJsonValue::Null}};
}

} // namespace

QuizCloudDouble::QuizCloudDouble(LoopbackCloud& cloud) {
    cloud.route(QStringLiteral("POST"), Paths::getUserQuizTracker,
                [this](const LoopbackCloud::Request& request) { return trackerGet(request); });
    cloud.route(QStringLiteral("POST"), Paths::setUserQuizTracker,
                [this](const LoopbackCloud::Request& request) { return trackerSet(request); });
    cloud.route(QStringLiteral("POST"), Paths::submitQuizResults,
                [this](const LoopbackCloud::Request& request) {
                    if (submissionReply_)
                        return *submissionReply_;
                    return LoopbackCloud::Reply::text(grade(request.body))
                        .withHeader("Content-Type", "application/json");
                });
}

void QuizCloudDouble::setTrackerText(int quizID, std::optional<QString> text) {
    tracker_.insert(quizID, std::move(text));
}

LoopbackCloud::Reply QuizCloudDouble::trackerGet(const LoopbackCloud::Request& request) const {
    const QUrlQuery form = formOf(request.body);
    const int quizID = form.queryItemValue(QStringLiteral("QuizID")).toInt();
    const std::optional<QString> text = tracker_.value(quizID);
    if (!tracker_.contains(quizID))
        return LoopbackCloud::Reply::json(QJsonArray());
    QJsonObject row{{QStringLiteral("UserID"), QStringLiteral("sim-user")},
                    {QStringLiteral("QuizID"), quizID},
                    {QStringLiteral("TransmitterID"), 0},
                    {QStringLiteral("FirmwareVersion"),
                     form.queryItemValue(QStringLiteral("FirmwareVersion"), QUrl::FullyDecoded)}};
    row.insert(QStringLiteral("ChoiceSelectionJSON"), text ? QJsonValue(*text) : QJsonValue());
    return LoopbackCloud::Reply::json(QJsonArray{row});
}

LoopbackCloud::Reply QuizCloudDouble::trackerSet(const LoopbackCloud::Request& request) {
    const QUrlQuery form = formOf(request.body);
    tracker_.insert(form.queryItemValue(QStringLiteral("QuizID")).toInt(),
                    form.queryItemValue(QStringLiteral("ChoiceSelectionJSON"), QUrl::FullyDecoded));
    return LoopbackCloud::Reply::json(QJsonObject{{QStringLiteral("Success"), true}});
}

QByteArray QuizCloudDouble::grade(const QByteArray& submissionBody) const {
    QHash<int, QSet<int>> chosen;
    const QJsonArray questions = QJsonDocument::fromJson(submissionBody)
                                     .object()
                                     .value(QStringLiteral("QuizQuestions"))
                                     .toArray();
    for (const QJsonValue& question : questions) {
        const int questionID = question[QStringLiteral("questionID")].toInt();
        for (const QJsonValue& choice : question[QStringLiteral("QuizChoices")].toArray())
            chosen[questionID].insert(choice[QStringLiteral("choiceID")].toInt());
    }
    QJsonArray wrong;
    QJsonArray missing;
    for (auto it = correct_.cbegin(); it != correct_.cend(); ++it) {
        const QSet<int> given = chosen.value(it.key());
        for (int choice : given)
            if (!it.value().contains(choice))
                wrong.append(namedChoice(choice, it.key()));
        // A box left unticked is missing; a question left unanswered is wrong.
        for (int choice : it.value())
            if (!given.contains(choice) && it.value().size() > 1)
                missing.append(namedChoice(choice, it.key()));
            else if (!given.contains(choice) && given.isEmpty())
                wrong.append(namedChoice(choice, it.key()));
    }
    const QJsonObject verdict{{QStringLiteral("QuizResult"), wrong.isEmpty() && missing.isEmpty()},
                              {QStringLiteral("WrongQuizChoices"), wrong},
                              {QStringLiteral("MissingMulticheckboxQuizChoices"), missing}};
    return QJsonDocument(QJsonArray{verdict}).toJson(QJsonDocument::Compact);
}

QByteArray QuizCloudDouble::sampleQuizJson() {
    return QByteArrayLiteral(R"([{
  "QuizID": 12, "QuizTitle": "Transmitter upgrade training", "Description": null,
  "FirmwareQuizID": 3, "FirmwareID": 41, "FirmwareVersion": "4.3.1",
  "QuizQuestions": [
    {"QuestionID": 101, "QuestionTypeId": 2,
     "QuestionDescription": "What should you do before the upgrade starts?",
     "QuizChoices": [
       {"ChoiceID": 1011, "QuestionID": 101, "ChoiceText": "Remove the transmitter from the cradle"},
       {"ChoiceID": 1012, "QuestionID": 101, "ChoiceText": "Leave the transmitter in the cradle until the upgrade completes"}]},
    {"QuestionID": 102, "QuestionTypeId": 1,
     "QuestionDescription": "Which of these are true during an upgrade? Select all that apply.",
     "QuizChoices": [
       {"ChoiceID": 1021, "QuestionID": 102, "ChoiceText": "Glucose readings pause"},
       {"ChoiceID": 1022, "QuestionID": 102, "ChoiceText": "The computer must stay connected to the internet"},
       {"ChoiceID": 1023, "QuestionID": 102, "ChoiceText": "The sensor must be replaced"}]},
    {"QuestionID": 103, "QuestionTypeId": 3,
     "QuestionDescription": "You may unplug the cradle while the progress bar is moving.",
     "QuizChoices": [
       {"ChoiceID": 1031, "QuestionID": 103, "ChoiceText": "True"},
       {"ChoiceID": 1032, "QuestionID": 103, "ChoiceText": "False"}]},
    {"QuestionID": 104, "QuestionTypeId": 7,
     "QuestionDescription": "Who should you contact if the upgrade fails?",
     "QuizChoices": [
       {"ChoiceID": 1041, "QuestionID": 104, "ChoiceText": "Ostrivane Customer Support"},
       {"ChoiceID": 1042, "QuestionID": 104, "ChoiceText": "Nobody; try again at once"}]}]
}])");
}

QHash<int, QSet<int>> QuizCloudDouble::sampleCorrectChoices() {
    return {{101, {1012}}, {102, {1021, 1022}}, {103, {1032}}, {104, {1041}}};
}
