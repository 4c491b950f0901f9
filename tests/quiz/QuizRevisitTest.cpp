// Going back to a multiple-checkbox question and ticking more: the submission holds one answer
// per question, whether the tracker keeps up with the changes or not.
#include "QuizScreenFixture.h"

#include "core/AppConstants.h"
#include "doubles/WaitFor.h"
#include "quiz/OstrivaneQuizViewController.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;
namespace Paths = AppConstants::API::Host::path;

namespace {

struct TrackerFromSecondTick {
    const char* name;
    std::optional<LoopbackCloud::Reply> set; // what the tracker does with changes from then on
    std::optional<LoopbackCloud::Reply> get; // and how it answers reads
};

void PrintTo(const TrackerFromSecondTick& row, std::ostream* os) {
    *os << row.name;
}

// Each question of the submission with its choices, sorted, in submission order.
QList<QPair<int, QList<int>>> answersOf(const QByteArray& body) {
    QList<QPair<int, QList<int>>> answers;
    for (const QJsonValue& question :
         QJsonDocument::fromJson(body).object().value(u"QuizQuestions"_s).toArray()) {
        QList<int> choices;
        for (const QJsonValue& choice : question[u"QuizChoices"_s].toArray())
            choices.append(choice[u"choiceID"_s].toInt());
        std::sort(choices.begin(), choices.end());
        answers.append({question[u"questionID"_s].toInt(), choices});
    }
    return answers;
}

class QuizRevisitTest : public QuizScreenTest,
                        public ::testing::WithParamInterface<TrackerFromSecondTick> {};

TEST_P(QuizRevisitTest, ARevisitedQuestionIsSubmittedInOnePiece) {
    startQuiz();
    answerAll({{1012}, {1021}});
    if (GetParam().set)
        cloud->route(u"POST"_s, Paths::setUserQuizTracker, *GetParam().set);
    if (GetParam().get)
        cloud->route(u"POST"_s, Paths::getUserQuizTracker, *GetParam().get);
    choose({1022});
    next(q3);
    choose({1032});
    quiz->buttonPrevious()->click();
    ASSERT_TRUE(waitForQuestion(q2));
    choose({1023});
    next(q3);
    next(q4);
    choose({1041});
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] { return !cloud->requestsTo(Paths::submitQuizResults).isEmpty(); }));

    EXPECT_EQ(answersOf(cloud->requestsTo(Paths::submitQuizResults).first().body),
              (QList<QPair<int, QList<int>>>{
                  {101, {1012}}, {102, {1021, 1022, 1023}}, {103, {1032}}, {104, {1041}}}));
}

INSTANTIATE_TEST_SUITE_P(
    Tracker, QuizRevisitTest,
    ::testing::Values(TrackerFromSecondTick{"KeepsUp", std::nullopt, std::nullopt},
                      TrackerFromSecondTick{
                          "MissesChanges", LoopbackCloud::Reply::json(QJsonObject{}), std::nullopt},
                      TrackerFromSecondTick{"Unreachable", LoopbackCloud::Reply::dropConnection(),
                                            LoopbackCloud::Reply::dropConnection()}),
    [](const ::testing::TestParamInfo<TrackerFromSecondTick>& row) { return row.param.name; });

} // namespace
