#include "quiz/QuizRequestBodies.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace QuizRequestBodies;
using namespace Qt::StringLiterals;

namespace {

TEST(QuizTrackerForm, FieldsInOrderWithTheJsonTextAsItIs) {
    EXPECT_EQ(trackerGetBody(12, {}, {}), QByteArray("QuizID=12&FirmwareVersion=&TransmitterID="));
    EXPECT_EQ(trackerSetBody(12, u"4.3.1"_s, u"12345"_s, uR"([{"ChoiceID":12},{"ChoiceID":13}])"_s),
              QByteArray(R"(QuizID=12&FirmwareVersion=4.3.1&TransmitterID=12345)"
                         R"(&ChoiceSelectionJSON=[{"ChoiceID":12},{"ChoiceID":13}])"));
}

TEST(QuizTrackerForm, ValuesCannotBreakTheForm) {
    EXPECT_EQ(trackerGetBody(1, u"1.0&QuizID=9"_s, u"a b+c%"_s),
              QByteArray("QuizID=1&FirmwareVersion=1.0%26QuizID%3D9&TransmitterID=a%20b%2Bc%25"));
}

TEST(QuizSubmission, GroupsEachRunOfOneQuestion) {
    const QList<QuizQuestion1> groups =
        groupQuizChoices(7, {{101, 1, 2}, {102, 5, 1}, {102, 6, 1}, {101, 2, 2}});
    ASSERT_EQ(groups.size(), 3);
    EXPECT_EQ(groups[0].questionID, 101);
    EXPECT_EQ(groups[1].questionID, 102);
    EXPECT_EQ(groups[1].questionTypeID, 1);
    EXPECT_EQ(groups[1].quizChoices.size(), 2);
    EXPECT_EQ(groups[2].questionID, 101);
    EXPECT_EQ(groups[2].quizChoices.first().choiceID, 2);
    for (const QuizQuestion1& group : groups)
        EXPECT_EQ(group.quizID, 7);

    const QList<QuizQuestion1> none = groupQuizChoices(7, {});
    ASSERT_EQ(none.size(), 1);
    EXPECT_EQ(none[0].questionID, 0);
    EXPECT_EQ(none[0].questionTypeID, 0);
    EXPECT_TRUE(none[0].quizChoices.isEmpty());
}

TEST(QuizSubmission, BodyIsCompactJsonUnderQuizQuestions) {
    const QByteArray body = submissionBody(7, {{101, 1001, 2}, {102, 1005, 1}, {102, 1006, 1}});
    EXPECT_TRUE(body.startsWith(R"({"QuizQuestions":[{)"));
    EXPECT_FALSE(body.contains(' '));
    EXPECT_FALSE(body.contains('\n'));
    const QJsonObject parsed = QJsonDocument::fromJson(body).object();
    const QJsonObject expected = QJsonDocument::fromJson(R"({"QuizQuestions":[
        {"QuizID":7,"questionID":101,"QuestionTypeId":2,"QuizChoices":[{"choiceID":1001}]},
        {"QuizID":7,"questionID":102,"QuestionTypeId":1,
         "QuizChoices":[{"choiceID":1005},{"choiceID":1006}]}]})")
                                     .object();
    EXPECT_EQ(parsed, expected);
}

} // namespace
