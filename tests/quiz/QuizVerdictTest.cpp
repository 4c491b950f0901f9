// Submission, the cloud's verdict, the pass view and the upgrade screen, failure and retry.
#include "QuizScreenFixture.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"
#include "platform/BusyIndicator.h"
#include "platform/NotificationCenter.h"
#include "quiz/OstrivaneQuizAlertView.h"
#include "quiz/OstrivaneQuizViewController.h"
#include "upgrade/OstrivaneCheckForUpgradesViewController.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRegularExpression>

using namespace Qt::StringLiterals;
namespace Paths = AppConstants::API::Host::path;

namespace {

QList<QJsonObject> auditsSent(const LoopbackCloud& cloud) {
    QList<QJsonObject> audits;
    for (const LoopbackCloud::Request& request : cloud.requestsTo(Paths::setZubAuditHistory))
        audits.append(request.json());
    return audits;
}

bool auditSent(const LoopbackCloud& cloud, const QString& code, const QString& state) {
    for (const QJsonObject& audit : auditsSent(cloud))
        if (audit.value(u"Code"_s).toString() == code &&
            audit.value(u"ZubStateID"_s).toString() == state)
            return true;
    return false;
}

TEST_F(QuizScreenTest, PassShowsCompletionAndLeadsToTheUpgradeScreen) {
    startQuiz();
    answerAllCorrectly();
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] {
        return quiz->labelQuestionsTitle()->text() == AppConstants::QuizScreen::quizComplete;
    }));

    const QList<LoopbackCloud::Request> sent = cloud->requestsTo(Paths::submitQuizResults);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].header("Content-Type"), QByteArray("application/json"));
    EXPECT_EQ(sent[0].header("Authorization"), QByteArray("Bearer token-1"));
    EXPECT_TRUE(sent[0].body.startsWith(R"({"QuizQuestions":[)"));
    EXPECT_FALSE(sent[0].body.contains(' '));
    const QJsonObject expected = QJsonDocument::fromJson(R"({"QuizQuestions":[
        {"QuizID":12,"questionID":101,"QuestionTypeId":2,"QuizChoices":[{"choiceID":1012}]},
        {"QuizID":12,"questionID":102,"QuestionTypeId":1,
         "QuizChoices":[{"choiceID":1021},{"choiceID":1022}]},
        {"QuizID":12,"questionID":103,"QuestionTypeId":3,"QuizChoices":[{"choiceID":1032}]},
        {"QuizID":12,"questionID":104,"QuestionTypeId":7,"QuizChoices":[{"choiceID":1041}]}]})")
                                     .object();
    EXPECT_EQ(sent[0].json(), expected);

    EXPECT_TRUE(quiz->quizCompleteView()->isVisible());
    EXPECT_FALSE(quiz->buttonNext()->isVisible());
    EXPECT_FALSE(quiz->buttonPrevious()->isVisible());
    EXPECT_FALSE(quiz->buttonSaveAndContinue()->isVisible());
    for (QWidget* view : quiz->questionViews())
        EXPECT_FALSE(view->isVisible());
    // The pass view slides in and ends where the screen's layout puts it, whole.
    QWidget* complete = quiz->quizCompleteView();
    ASSERT_TRUE(waitFor([&] { return !complete->findChild<QPropertyAnimation*>(); }));
    const QRect settled = complete->geometry();
    quiz->layout()->invalidate();
    quiz->layout()->activate();
    EXPECT_EQ(settled, complete->geometry());
    EXPECT_TRUE(quiz->rect().contains(settled));
    ASSERT_TRUE(waitFor([&] { return auditSent(*cloud, u"5000051"_s, u"2"_s); }));

    quiz->buttonStartTransmitterUpgrade()->click();
    EXPECT_FALSE(quiz->buttonStartTransmitterUpgrade()->isEnabled());
    ASSERT_NE(quiz->upgradeChildViewController(), nullptr);
    ASSERT_TRUE(waitFor([&] { return quiz->upgradeChildViewController()->isVisible(); }));
    EXPECT_EQ(quiz->upgradeChildViewController()->geometry(), quiz->rect());

    quiz->removeChildViewController();
    EXPECT_EQ(quiz->upgradeChildViewController(), nullptr);
    EXPECT_TRUE(AppState::g_isReturningFromUpgrade);

    // A passed quiz taken again starts at its first question.
    welcome->removeChildViewController();
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 1 of 4"_s);
}

TEST_F(QuizScreenTest, FailureSheetThenRetryOnEveryQuestionThatKeepsTheQuizFromPassing) {
    startQuiz();
    // The first and the third wrong, the second incomplete.
    answerAll({{1011}, {1021}, {1031}, {1041}});
    quiz->buttonNext()->click();

    ASSERT_TRUE(waitFor([&] { return shownQuizSheet() != nullptr; }));
    OstrivaneQuizAlertView* sheet = shownQuizSheet();
    ASSERT_TRUE(waitFor([&] { return !sheet->labelAlertText()->text().isEmpty(); }));
    EXPECT_EQ(sheet->labelHeaderPrimary()->text(), u"Notification"_s);
    EXPECT_EQ(sheet->labelHeaderSecondary()->text(),
              u"Sorry! All questions must be answered\ncorrectly and completely."_s);
    EXPECT_EQ(sheet->labelAlertText()->text(), u"2 of 4 questions answered incorrectly!"_s);
    EXPECT_EQ(sheet->labelNoteText()->text(), u"Review the questions and try again."_s);
    EXPECT_TRUE(sheet->labelSubHeading()->isVisible());
    EXPECT_TRUE(sheet->labelSubHeading()->text().isEmpty());
    EXPECT_TRUE(sheet->labelAlertText()->alignment() & Qt::AlignLeft);
    ASSERT_TRUE(waitFor([&] { return auditSent(*cloud, u"5000058"_s, u"2"_s); }));

    sheet->buttonResumeQuiz()->click();
    ASSERT_TRUE(waitForQuestion(q1));
    EXPECT_EQ(AppState::g_quizFailAttempts, 1);
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 1 of 3"_s);
    EXPECT_EQ(quiz->progressViews().size(), 3);
    EXPECT_EQ(quiz->questionProgressViewStack()->layout()->count(), 3);
    // The wrong answer is still marked, as it still stands in the answer list.
    EXPECT_TRUE(mark(1011)->isChecked());
    choose({1012});
    next(q2);
    choose({1022});
    next(q3);
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 3 of 3"_s);

    // A failure that names no wrong choice says nothing of where the fault lies: the whole
    // quiz is retaken.
    quizCloud->setSubmissionReply(LoopbackCloud::Reply::json(
        QJsonArray{QJsonObject{{u"QuizResult"_s, false}, {u"WrongQuizChoices"_s, QJsonArray()}}}));
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] { return shownQuizSheet() != nullptr; }));
    shownQuizSheet()->buttonResumeQuiz()->click();
    ASSERT_TRUE(waitForQuestion(q1));
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 1 of 4"_s);
    EXPECT_EQ(quiz->progressViews().size(), 4);

    quizCloud->setSubmissionReply(std::nullopt);
    next(q2);
    next(q3);
    choose({1032});
    next(q4);
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] {
        return quiz->labelQuestionsTitle()->text() == AppConstants::QuizScreen::quizComplete;
    }));
}

TEST_F(QuizScreenTest, QuestionsWithoutChoicesCountAsAnsweredAndAreSubmittedEmpty) {
    QString sample = QString::fromUtf8(QuizCloudDouble::sampleQuizJson());
    sample.remove(QRegularExpression(uR"(\{"ChoiceID": 10[34]\d[^}]*\},?)"_s)); // the last two's
    AppState::standardDefaults().setValue(AppConstants::userdefaultKeys::quiz, sample.toUtf8());
    startQuiz();
    answerAll({{1012}, {1021, 1022}});
    for (int press = 0; press < 3; ++press) // on to the third, the fourth, then submit
        quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] { return !bodiesTo(Paths::submitQuizResults).isEmpty(); }));
    EXPECT_TRUE(
        bodiesTo(Paths::submitQuizResults)[0].contains(R"([],"QuizID":12,"questionID":104})"));
}

TEST_F(QuizScreenTest, TheFourthRetryIsToldAndStillStarts) {
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    const QString limit = u"Please contact Customer Support."_s;
    for (int attempt = 1; attempt <= 5; ++attempt) {
        NotificationCenter::defaultCenter().post(AppConstants::Notifications::quizRetry);
        EXPECT_EQ(AppState::g_quizFailAttempts, attempt);
        spinFor(30);
        EXPECT_EQ(shownAlertText() == limit, attempt == 4) << attempt;
        if (attempt == 4) {
            ASSERT_TRUE(closeAlert());
        }
        ASSERT_TRUE(waitForQuestion(q1));
        EXPECT_EQ(quiz->currentQuestionIndex(), 0);
    }
}

TEST_F(QuizScreenTest, OneSubmissionAtATime) {
    quizCloud->setSubmissionReply(
        LoopbackCloud::Reply::json(QJsonArray{QJsonObject{{u"QuizResult"_s, true}}}).after(200));
    startQuiz();
    answerAllCorrectly();
    quiz->buttonNext()->click();
    quiz->buttonNext()->click();
    // Going back would leave the verdict over another question, however Previous is reached.
    EXPECT_EQ(usableButtons(), 0);
    EXPECT_FALSE(mark(1041)->isEnabled());
    EXPECT_TRUE(quiz->busyIndicator()->isVisible());
    quiz->previousQuestionButtonClicked();
    quiz->saveAndContinueLater();
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 4 of 4"_s);
    ASSERT_TRUE(waitFor([&] {
        return quiz->labelQuestionsTitle()->text() == AppConstants::QuizScreen::quizComplete;
    }));
    spinFor(50);
    EXPECT_EQ(cloud->requestsTo(Paths::submitQuizResults).size(), 1);
    EXPECT_FALSE(auditSent(*cloud, u"5000052"_s, u"3"_s));
    EXPECT_FALSE(quiz->busyIndicator()->isVisible());
}

TEST_F(QuizScreenTest, TrackerRepliesThatComeAfterThePassChangeNothing) {
    startQuiz();
    answerAllCorrectly();
    // Back and forth again over a slow tracker, then the pass comes first.
    cloud->route(u"POST"_s, Paths::getUserQuizTracker,
                 LoopbackCloud::Reply::json(QJsonArray()).after(200));
    quiz->buttonPrevious()->click();
    quiz->buttonNext()->click();
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] {
        return quiz->labelQuestionsTitle()->text() == AppConstants::QuizScreen::quizComplete;
    }));
    ASSERT_TRUE(waitFor([&] { return cloud->requestsTo(Paths::getUserQuizTracker).size() == 6; }));
    spinFor(300);
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), AppConstants::QuizScreen::quizComplete);
    EXPECT_TRUE(quiz->quizCompleteView()->isVisible());
    for (QWidget* view : quiz->questionViews())
        EXPECT_FALSE(view->isVisible());
}

TEST_F(QuizScreenTest, BadOrMissingVerdictsAreErrorsNotResults) {
    startQuiz();
    answerAllCorrectly();
    // An earlier pass must not be shown again for a reply that says nothing.
    StructQuizResult earlier;
    earlier.quizResult = true;
    AppState::QuizResult = {earlier};

    // A dropped connection is a lost connection, and said so.
    const QList<std::pair<LoopbackCloud::Reply, QString>> replies{
        {LoopbackCloud::Reply::text("<html>busy</html>", 503), u"Something went wrong."_s},
        {LoopbackCloud::Reply::json(QJsonArray()), u"Something went wrong."_s},
        {LoopbackCloud::Reply::dropConnection(), u"No internet connection."_s}};
    for (const auto& [reply, expected] : replies) {
        const QString& message = expected; // a lambda may not capture a structured binding
        quizCloud->setSubmissionReply(reply);
        const qsizetype before = cloud->requestsTo(Paths::submitQuizResults).size();
        quiz->buttonNext()->click();
        ASSERT_TRUE(waitFor([&] { return shownAlertText() == message; }));
        ASSERT_TRUE(closeAlert());
        EXPECT_GT(cloud->requestsTo(Paths::submitQuizResults).size(), before);
        EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 4 of 4"_s);
        EXPECT_EQ(usableButtons(), 3);
        EXPECT_TRUE(mark(1041)->isEnabled());
        EXPECT_EQ(AppState::Quizzes.size(), 1);
    }
    // An error status whose body is a verdict is the verdict.
    quizCloud->setSubmissionReply(
        LoopbackCloud::Reply::json(QJsonArray{QJsonObject{{u"QuizResult"_s, true}}}, 500));
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] {
        return quiz->labelQuestionsTitle()->text() == AppConstants::QuizScreen::quizComplete;
    }));
}

TEST_F(QuizScreenTest, OfflineOnTheLastQuestionSendsNothing) {
    startQuiz();
    answerAllCorrectly();
    NetworkManager::shared().setConnected(false);
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] { return shownAlertText() == u"No internet connection."_s; }));
    EXPECT_TRUE(cloud->requestsTo(Paths::submitQuizResults).isEmpty());
}

} // namespace
