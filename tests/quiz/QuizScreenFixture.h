#pragma once

#include "doubles/LoopbackCloud.h"
#include "doubles/QuizCloudDouble.h"
#include "models/QuizAnswers.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QRect& rect, std::ostream* os) {
    *os << rect.x() << ',' << rect.y() << ' ' << rect.width() << 'x' << rect.height();
}

inline void PrintTo(const StructQuizChoicesSubmit& answer, std::ostream* os) {
    *os << "{q" << answer.questionid << " c" << answer.choiceid << " t" << answer.questiontypeid
        << "}";
}

class OstrivaneQuizAlertView;
class OstrivaneQuizViewController;
class QAbstractButton;

// The quiz as a user meets it: the welcome screen in a shown window embeds the quiz screen,
// which talks to a loopback cloud playing the quiz's side of the cloud. The sample quiz lies
// under "Quiz" in the standard settings, the progress file in a temporary folder.
class QuizScreenTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Embeds a new quiz screen and waits for its first question.
    OstrivaneQuizViewController* startQuiz();
    // Waits until the question with this description is on screen with its choice rows.
    bool waitForQuestion(const QString& description);
    // The mark buttons of the question on screen, in choice order.
    QList<QAbstractButton*> marks() const;
    QAbstractButton* mark(int choiceID) const;
    // Marks the choices (clicking each) and waits for the tracker to store the answer text.
    void choose(std::initializer_list<int> choiceIDs);
    // Next, then waits for the question with this description.
    void next(const QString& description);
    // Answers the sample quiz's four questions with these choices, ending on the last one.
    void answerAll(const QList<QList<int>>& choicesPerQuestion);
    // Answers the whole sample quiz correctly, ending on the last question.
    void answerAllCorrectly();
    // The catalogue alert or quiz sheet shown over the window, when there is one.
    QString shownAlertText() const;
    OstrivaneQuizAlertView* shownQuizSheet() const;
    // How many of Previous, Save and continue later and Next can be used.
    int usableButtons() const;
    bool closeAlert();

    QList<QByteArray> bodiesTo(const QString& path) const;

    static const QString q1, q2, q3, q4;

    QTemporaryDir folder;
    std::unique_ptr<LoopbackCloud> cloud;
    std::unique_ptr<QuizCloudDouble> quizCloud;
    std::unique_ptr<OstrivaneWelcomeScreen> welcome;
    OstrivaneQuizViewController* quiz = nullptr;
};
