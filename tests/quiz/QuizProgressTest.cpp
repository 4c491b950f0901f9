#include "quiz/QuizProgress.h"

#include <gtest/gtest.h>

using namespace QuizProgress;
using namespace Qt::StringLiterals;

namespace {

Quiz quizOf(QList<int> questionIds) {
    Quiz quiz;
    quiz.QuizID = 3;
    for (int id : questionIds) {
        QuizQuestion question;
        question.QuestionID = id;
        quiz.QuizQuestions.append(question);
    }
    return quiz;
}

QList<int> idsOf(const Quiz& quiz) {
    QList<int> ids;
    for (const QuizQuestion& question : quiz.QuizQuestions)
        ids.append(question.QuestionID);
    return ids;
}

StructQuizResult verdictNaming(QList<int> wrongQuestionIds, QList<int> missingQuestionIds = {}) {
    StructQuizResult verdict;
    verdict.wrongQuizChoices.emplace();
    for (int id : wrongQuestionIds)
        verdict.wrongQuizChoices->append(QuizChoice2{id * 10, {}, id, false, {}, false, {}});
    verdict.missingMulticheckboxQuizChoices.emplace();
    for (int id : missingQuestionIds)
        verdict.missingMulticheckboxQuizChoices->append(
            QuizChoice2{id * 10, {}, id, false, {}, false, {}});
    return verdict;
}

TEST(QuizProgressKey, JoinsDeviceVersionAndQuiz) {
    EXPECT_EQ(progressKey(QString(), std::nullopt, 12), u"--12"_s);
    EXPECT_EQ(progressKey(u"TX9"_s, u"4.3.1"_s, 12), u"TX9-4.3.1-12"_s);
}

TEST(QuizProgressResume, ReopensAtAStoredQuestionWithinTheQuiz) {
    EXPECT_EQ(resumeIndex(QString(), 5), 0);
    EXPECT_EQ(resumeIndex(u"3"_s, 5), 3);
    EXPECT_EQ(resumeIndex(u"9"_s, 5), 4);
    EXPECT_EQ(resumeIndex(u"-2"_s, 5), 0);
    EXPECT_EQ(resumeIndex(u"two"_s, 5), 0);
    EXPECT_EQ(resumeIndex(u"2"_s, 0), 0);
}

QList<int> retaken(const StructQuizResult& verdict) {
    Quiz retake = quizOf({1, 2, 3, 4, 5});
    retake.QuizQuestions = questionsToRetake(retake, verdict);
    return idsOf(retake);
}

TEST(QuizProgressRetake, KeepsEveryQuestionThatKeepsTheQuizFromPassing) {
    // Wrong and incomplete questions alike, once each, in their order.
    EXPECT_EQ(retaken(verdictNaming({5, 2, 2}, {3})), (QList<int>{2, 3, 5}));
    // Without a wrong choice, or naming nothing the quiz holds: the whole quiz.
    EXPECT_EQ(retaken(verdictNaming({}, {2})), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(retaken(StructQuizResult{}), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(retaken(verdictNaming({9})), (QList<int>{1, 2, 3, 4, 5}));
}

} // namespace
