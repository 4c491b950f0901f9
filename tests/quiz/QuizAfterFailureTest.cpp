// What follows a failed submission, by what the message catalogue holds and what the verdict
// names: the failure sheet, resuming, and the attempt that is told of the limit.
#include "QuizScreenFixture.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"
#include "quiz/OstrivaneQuizAlertView.h"
#include "quiz/OstrivaneQuizViewController.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
namespace Codes = AppConstants::Codes;
namespace Paths = AppConstants::API::Host::path;

namespace {

struct AfterFailure {
    const char* name;
    QString missingCode; // taken out of the catalogue
    bool verdictNamesWrongChoices;
    int attemptsBefore;
    // What the user meets.
    bool sheet;
    QString title; // once resumed, or as the failure left it when there is no sheet
    int questions; // in the quiz, and dots above it
    int attemptsAfter;
    bool limitTold;
};

void PrintTo(const AfterFailure& row, std::ostream* os) {
    *os << row.name;
}

class QuizAfterFailureTest : public QuizScreenTest,
                             public ::testing::WithParamInterface<AfterFailure> {};

TEST_P(QuizAfterFailureTest, CatalogueAndVerdictDecideWhatFollows) {
    const AfterFailure& row = GetParam();
    AppState::EuaMessage.removeIf(
        [&](const StructEuaMessage& entry) { return entry.messageCode == row.missingCode; });
    if (!row.verdictNamesWrongChoices)
        quizCloud->setSubmissionReply(
            LoopbackCloud::Reply::json(QJsonArray{QJsonObject{{u"QuizResult"_s, false}}}));
    AppState::g_quizFailAttempts = row.attemptsBefore;
    startQuiz();
    answerAll({{1011}, {1021, 1022}, {1032}, {1041}}); // the first wrong
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] { return !quiz->isSubmitting(); }));
    spinFor(30);

    OstrivaneQuizAlertView* sheet = shownQuizSheet();
    ASSERT_EQ(sheet != nullptr, row.sheet);
    const qsizetype reads = bodiesTo(Paths::getUserQuizTracker).size();
    if (sheet) {
        ASSERT_TRUE(waitFor([&] { return !sheet->labelAlertText()->text().isEmpty(); }));
        sheet->buttonResumeQuiz()->click();
        ASSERT_TRUE(waitFor([&] { return shownQuizSheet() == nullptr; }));
    }
    const QString limit = u"Please contact Customer Support."_s;
    EXPECT_EQ(waitFor([&] { return shownAlertText() == limit; }, 100), row.limitTold);
    if (row.limitTold) {
        ASSERT_TRUE(closeAlert());
    }
    EXPECT_EQ(AppState::g_quizFailAttempts, row.attemptsAfter);
    EXPECT_EQ(waitFor([&] { return bodiesTo(Paths::getUserQuizTracker).size() > reads; }, 200),
              row.attemptsAfter > row.attemptsBefore); // only a new attempt reads the tracker

    // Whatever followed, the screen shows the question its title names, and the user can go
    // back and forth, answer, and save.
    const QList<QuizQuestion> questions = AppState::Quizzes.first().QuizQuestions;
    ASSERT_EQ(questions.size(), row.questions);
    EXPECT_EQ(quiz->progressViews().size(), row.questions);
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), row.title);
    const int index = quiz->currentQuestionIndex();
    ASSERT_LT(index, questions.size());
    ASSERT_TRUE(waitForQuestion(*questions[index].QuestionDescription));
    if (index > 0) {
        quiz->buttonPrevious()->click();
        ASSERT_TRUE(waitForQuestion(*questions[index - 1].QuestionDescription));
        EXPECT_EQ(quiz->labelQuestionsTitle()->text(),
                  u"Question %1 of %2"_s.arg(index).arg(row.questions));
        next(*questions[index].QuestionDescription);
    }
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), row.title);
    choose({marks().first()->property("tag").toInt()});
    EXPECT_TRUE(quiz->buttonNext()->isEnabled());
    EXPECT_TRUE(quiz->buttonSaveAndContinue()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, QuizAfterFailureTest,
    ::testing::Values(
        AfterFailure{"FourthAttemptIsTold", {}, true, 3, true, u"Question 1 of 1"_s, 1, 4, true},
        // A refused attempt narrows nothing: the failed one is still on screen.
        AfterFailure{"NoLimitTextNoFourthAttempt", Codes::quizRetryLimitReached, true, 3, true,
                     u"Question 4 of 4"_s, 4, 3, false},
        AfterFailure{"NoNoteNoSheet", Codes::quizFailedNote, true, 0, false, u"Question 4 of 4"_s,
                     4, 0, false},
        // Nothing tells which questions to retake: resume only closes the sheet.
        AfterFailure{
            "NoWrongChoicesOnlyCloses", {}, false, 0, true, u"Question 4 of 4"_s, 4, 0, false}),
    [](const ::testing::TestParamInfo<AfterFailure>& row) { return row.param.name; });

} // namespace
