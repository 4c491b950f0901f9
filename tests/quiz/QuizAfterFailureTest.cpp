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

namespace {

struct AfterFailure {
    const char* name;
    QString missingCode; // taken out of the catalogue
    bool verdictNamesWrongChoices;
    int attemptsBefore;
    // What the user meets.
    bool sheet;
    QString title; // once resumed, or as the failure left it when there is no sheet
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
    if (sheet) {
        ASSERT_TRUE(waitFor([&] { return !sheet->labelAlertText()->text().isEmpty(); }));
        sheet->buttonResumeQuiz()->click();
        ASSERT_TRUE(waitFor([&] { return shownQuizSheet() == nullptr; }));
    }
    const QString limit = u"Please contact Customer Support."_s;
    EXPECT_EQ(waitFor([&] { return shownAlertText() == limit; }, 100), row.limitTold);
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), row.title);
    EXPECT_EQ(AppState::g_quizFailAttempts, row.attemptsAfter);
    EXPECT_TRUE(quiz->buttonNext()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, QuizAfterFailureTest,
    ::testing::Values(
        AfterFailure{"FourthAttemptIsTold", {}, true, 3, true, u"Question 1 of 1"_s, 4, true},
        AfterFailure{"NoLimitTextNoFourthAttempt", Codes::quizRetryLimitReached, true, 3, true,
                     u"Question 4 of 4"_s, 3, false},
        AfterFailure{"NoNoteNoSheet", Codes::quizFailedNote, true, 0, false, u"Question 4 of 4"_s,
                     0, false},
        AfterFailure{
            "NoWrongChoicesResumeOnlyCloses", {}, false, 0, true, u"Question 4 of 4"_s, 0, false}),
    [](const ::testing::TestParamInfo<AfterFailure>& row) { return row.param.name; });

} // namespace
