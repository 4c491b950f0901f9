// Save and continue later: the sheet, the welcome screen taking the quiz away, the progress
// file, and reopening where the user left off.
#include "QuizScreenFixture.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Extensions.h"
#include "doubles/FullDisk.h"
#include "doubles/WaitFor.h"
#include "platform/BusyIndicator.h"
#include "platform/NamedColors.h"
#include "quiz/OstrivaneQuizAlertView.h"
#include "quiz/OstrivaneQuizViewController.h"
#include "signin/AppUserDefaultStore.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

using namespace Qt::StringLiterals;
namespace Paths = AppConstants::API::Host::path;

namespace {

QJsonObject progressFile(const QString& folder) {
    QFile file(folder + u'/' + AppConstants::AppUserDefaultFile::fileName);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

TEST_F(QuizScreenTest, SavedQuizReopensWhereTheUserLeftOff) {
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    EXPECT_EQ(progressFile(folder.path()).value(u"--12"_s).toString(), u"0"_s);
    choose({1012});
    next(q2);
    choose({1021, 1022});
    next(q3);
    EXPECT_EQ(progressFile(folder.path()).value(u"--12"_s).toString(), u"2"_s);

    quiz->buttonSaveAndContinue()->click();
    ASSERT_TRUE(waitFor([&] { return shownQuizSheet() != nullptr; }));
    OstrivaneQuizAlertView* sheet = shownQuizSheet();
    ASSERT_TRUE(waitFor([&] { return !sheet->labelAlertText()->text().isEmpty(); }));
    EXPECT_EQ(sheet->labelHeaderPrimary()->text(), u"Save and continue later"_s);
    EXPECT_EQ(sheet->labelAlertText()->text(),
              u"Do you want to save your progress and exit the quiz?"_s);
    EXPECT_EQ(sheet->labelNoteText()->text(), u"You may return at any time to finish the quiz."_s);
    EXPECT_FALSE(sheet->labelSubHeading()->isVisible());

    QPointer<OstrivaneQuizViewController> first(quiz);
    sheet->buttonSaveAndContinue()->click();
    ASSERT_TRUE(waitFor([&] { return first.isNull(); }));
    EXPECT_EQ(welcome->quizChildViewController(), nullptr);
    EXPECT_EQ(welcome->buttonQuiz()->text(), AppConstants::QuizScreen::retakeQuiz);
    ASSERT_TRUE(waitFor([&] {
        for (const LoopbackCloud::Request& request : cloud->requestsTo(Paths::setZubAuditHistory))
            if (request.json().value(u"Code"_s) == u"5000052"_s &&
                request.json().value(u"ZubStateID"_s) == u"3"_s)
                return true;
        return false;
    }));

    // A later sign-in: the answers live only in the cloud's tracker and the progress file.
    AppState::QuizChoices.clear();
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q3));
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 3 of 4"_s);
    EXPECT_TRUE(quiz->buttonPrevious()->isEnabled());
    // The questions passed over have their answers back, ready for the submission.
    EXPECT_EQ(AppState::QuizChoices,
              (QList<StructQuizChoicesSubmit>{{101, 1012, 2}, {102, 1021, 1}, {102, 1022, 1}}));
    choose({1032});
    next(q4);
    choose({1041});
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] {
        return quiz->labelQuestionsTitle()->text() == AppConstants::QuizScreen::quizComplete;
    }));
}

TEST_F(QuizScreenTest, ReopeningKeepsTheAnswersGivenInThisSession) {
    startQuiz();
    answerAll({{1012}, {1021, 1022}});
    next(q3);
    QPointer<OstrivaneQuizViewController> first(quiz);
    quiz->saveAndContinueLater();
    ASSERT_TRUE(waitFor([&] { return first.isNull(); }));

    // The tracker's answer text is older than the answers given since.
    quizCloud->setTrackerText(12, uR"([{"ChoiceID":1011},{"ChoiceID":1021}])"_s);
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q3));
    EXPECT_EQ(AppState::QuizChoices,
              (QList<StructQuizChoicesSubmit>{{101, 1012, 2}, {102, 1021, 1}, {102, 1022, 1}}));
}

struct Reopening {
    const char* name;
    std::optional<QString> tracker; // the answer text the tracker holds, or no row at all
    bool trackerUnreachable;
    int opensAt; // index of the question the quiz opens at
};

void PrintTo(const Reopening& row, std::ostream* os) {
    *os << row.name;
}

class QuizReopeningTest : public QuizScreenTest, public ::testing::WithParamInterface<Reopening> {};

TEST_P(QuizReopeningTest, ReopensAtTheStoredQuestionOnlyWhenEveryOneBeforeIsAnswered) {
    const Reopening& row = GetParam();
    AppUserDefaultStore::setAppUserDefault(u"--12"_s, u"3"_s);
    if (row.tracker)
        quizCloud->setTrackerText(12, *row.tracker);
    if (row.trackerUnreachable)
        cloud->route(u"POST"_s, Paths::getUserQuizTracker, LoopbackCloud::Reply::dropConnection());
    startQuiz();
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), AppConstants::QuizScreen::loadingQuiz);
    EXPECT_TRUE(quiz->busyIndicator()->isVisible());
    EXPECT_EQ(usableButtons(), 0);
    ASSERT_TRUE(waitForQuestion(QList<QString>{q1, q2, q3, q4}.at(row.opensAt)));
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question %1 of 4"_s.arg(row.opensAt + 1));
    EXPECT_EQ(usableButtons(), row.opensAt > 0 ? 3 : 2);
    EXPECT_EQ(progressFile(folder.path()).value(u"--12"_s).toString(),
              QString::number(row.opensAt));
    for (int dot = 0; dot < quiz->progressViews().size(); ++dot)
        EXPECT_EQ(Extensions::backgroundColor(quiz->progressViews()[dot]),
                  NamedColors::color(dot <= row.opensAt ? NamedColors::blue : NamedColors::grey))
            << dot;
}

INSTANTIATE_TEST_SUITE_P(
    Tracker, QuizReopeningTest,
    ::testing::Values(
        Reopening{"HoldsNothing", std::nullopt, false, 0},
        Reopening{"Unreachable", std::nullopt, true, 0},
        Reopening{"HoldsAGap", uR"([{"ChoiceID":1012},{"ChoiceID":1021}])"_s, false, 2},
        Reopening{"HoldsEveryAnswerBefore",
                  uR"([{"ChoiceID":1012},{"ChoiceID":1021},{"ChoiceID":1032}])"_s, false, 3}),
    [](const ::testing::TestParamInfo<Reopening>& row) { return row.param.name; });

TEST_F(QuizScreenTest, ResumeOnTheSavePromptOnlyClosesIt) {
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    choose({1012});
    next(q2);
    quiz->buttonSaveAndContinue()->click();
    ASSERT_TRUE(waitFor([&] { return shownQuizSheet() != nullptr; }));
    shownQuizSheet()->buttonResumeQuiz()->click();
    ASSERT_TRUE(waitFor([&] { return shownQuizSheet() == nullptr; }));
    spinFor(30);
    EXPECT_EQ(AppState::g_quizFailAttempts, 0);
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 2 of 4"_s);
    EXPECT_EQ(welcome->quizChildViewController(), quiz);
}

TEST_F(QuizScreenTest, SavingWhileOfflineKeepsTheQuizAndSaysWhy) {
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    NetworkManager::shared().setConnected(false);
    quiz->buttonSaveAndContinue()->click();
    ASSERT_TRUE(waitFor([&] { return shownQuizSheet() != nullptr; }));
    shownQuizSheet()->buttonSaveAndContinue()->click();
    ASSERT_TRUE(waitFor([&] { return shownAlertText() == u"No internet connection."_s; }));
    EXPECT_EQ(welcome->quizChildViewController(), quiz);
    EXPECT_TRUE(cloud->requestsTo(Paths::setZubAuditHistory).isEmpty());
}

TEST_F(QuizScreenTest, ProgressThatCannotBeSavedIsToldAndSavedOnceThereIsRoom) {
    const QString full = folder.filePath(u"full"_s);
    QString whyNot;
    const std::unique_ptr<FullDisk> disk = FullDisk::over(full, &whyNot);
    if (!disk)
        GTEST_SKIP() << whyNot.toStdString();
    AppState::g_appUserDefaultUrl = full + u'/' + AppConstants::AppUserDefaultFile::fileName;
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    choose({1012});
    const auto stored = [] {
        QFile file(*AppState::g_appUserDefaultUrl);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray saved = stored();
    ASSERT_FALSE(saved.isEmpty());

    const QString& notSaved = AppConstants::Alerts::descriptions::quizProgressNotSaved;
    disk->fill();
    next(q2);
    EXPECT_TRUE(waitFor([&] { return shownAlertText() == notSaved; }));
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 2 of 4"_s);
    EXPECT_EQ(AppState::QuizChoices, (QList<StructQuizChoicesSubmit>{{101, 1012, 2}}));
    EXPECT_EQ(stored(), saved);

    ASSERT_TRUE(closeAlert());
    // Leaving is refused the same way: the quiz stays, and is not reported as saved.
    quiz->saveAndContinueLater();
    EXPECT_TRUE(waitFor([&] { return shownAlertText() == notSaved; }));
    EXPECT_EQ(welcome->quizChildViewController(), quiz);
    ASSERT_TRUE(closeAlert());

    disk->makeRoom();
    choose({1021, 1022});
    next(q3);
    spinFor(50);
    EXPECT_TRUE(shownAlertText().isEmpty());
    EXPECT_EQ(progressFile(full).value(u"--12"_s), u"2"_s);

    // Back to a question that could not be saved, then leaving saves it once there is room.
    disk->fill();
    quiz->buttonPrevious()->click();
    ASSERT_TRUE(waitFor([&] { return shownAlertText() == notSaved; }));
    ASSERT_TRUE(closeAlert());
    disk->makeRoom();
    QPointer<OstrivaneQuizViewController> leaving(quiz);
    quiz->saveAndContinueLater();
    ASSERT_TRUE(waitFor([&] { return leaving.isNull(); }));
    EXPECT_EQ(progressFile(full).value(u"--12"_s), u"1"_s);
    const auto savedAudits = [&] {
        return std::ranges::count_if(cloud->requestsTo(Paths::setZubAuditHistory),
                                     [](const LoopbackCloud::Request& request) {
                                         return request.json().value(u"Code"_s) == u"5000052"_s;
                                     });
    };
    ASSERT_TRUE(waitFor([&] { return savedAudits() > 0; }));
    spinFor(50);
    EXPECT_EQ(savedAudits(), 1);

    // A pass whose reset the disk refuses: taken again, the quiz starts at its first question.
    AppState::QuizChoices += {{103, 1032, 3}, {104, 1041, 7}};
    AppUserDefaultStore::setAppUserDefault(u"--12"_s, u"3"_s);
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q4));
    disk->fill();
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] { return shownAlertText() == notSaved; }));
    welcome->removeChildViewController();
    startQuiz();
    EXPECT_TRUE(waitForQuestion(q1));
}

} // namespace
