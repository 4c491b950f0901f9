// The quiz screen's display, question kinds, answers and the cloud's answer tracker.
#include "QuizScreenFixture.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Extensions.h"
#include "doubles/WaitFor.h"
#include "platform/NamedColors.h"
#include "platform/NotificationCenter.h"
#include "quiz/OstrivaneQuizViewController.h"
#include "quiz/QuizChoiceTextButton.h"
#include "quiz/QuizColors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QJsonArray>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

using namespace Qt::StringLiterals;
namespace Paths = AppConstants::API::Host::path;

namespace {

bool hasBorder(QPushButton* button, const QString& colorName) {
    return button->styleSheet().contains(u"border: 1px solid "_s +
                                         QuizColors::color(colorName).name(QColor::HexArgb));
}

QColor dotColor(QWidget* dot) {
    return Extensions::backgroundColor(dot).value_or(QColor());
}

TEST_F(QuizScreenTest, FirstQuestionWithTitleDotsAndTrackerRead) {
    ASSERT_NE(startQuiz(), nullptr);
    ASSERT_TRUE(waitForQuestion(q1));

    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 1 of 4"_s);
    ASSERT_EQ(quiz->progressViews().size(), 4);
    EXPECT_EQ(quiz->questionProgressViewStack()->layout()->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(quiz->progressViews()[i]->height(), 8);
        EXPECT_EQ(dotColor(quiz->progressViews()[i]),
                  *NamedColors::color(i == 0 ? NamedColors::blue : NamedColors::grey));
    }
    EXPECT_FALSE(quiz->buttonPrevious()->isEnabled());
    EXPECT_TRUE(hasBorder(quiz->buttonPrevious(), NamedColors::lightgrey));

    // A radio question: its layout alone, one mark per choice, nothing marked.
    EXPECT_TRUE(quiz->viewRadioButtonQuestion()->isVisible());
    EXPECT_FALSE(quiz->viewMultipleCheckboxQuestion()->isVisible());
    EXPECT_FALSE(quiz->viewQuestionTwo()->isVisible());
    EXPECT_EQ(marks().size(), 2);
    EXPECT_EQ(quiz->radioButtons().size(), 2);
    for (QAbstractButton* button : marks())
        EXPECT_FALSE(button->isChecked());

    const QList<LoopbackCloud::Request> reads = cloud->requestsTo(Paths::getUserQuizTracker);
    ASSERT_EQ(reads.size(), 1);
    EXPECT_EQ(reads[0].body, QByteArray("QuizID=12&FirmwareVersion=&TransmitterID="));
    EXPECT_EQ(reads[0].header("Authorization"), QByteArray("Bearer token-1"));
    EXPECT_EQ(reads[0].header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    // Nothing is written to the tracker by showing a question.
    EXPECT_TRUE(cloud->requestsTo(Paths::setUserQuizTracker).isEmpty());
}

TEST_F(QuizScreenTest, AnswersAreRecordedAndMirroredToTheTracker) {
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));

    // Next needs an answer.
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor([&] { return shownAlertText() == u"Please answer the question."_s; }));
    ASSERT_TRUE(closeAlert());
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 1 of 4"_s);

    choose({1011, 1012});
    EXPECT_FALSE(mark(1011)->isChecked());
    EXPECT_TRUE(mark(1012)->isChecked());
    // Clicking the chosen radio again keeps it chosen and tells the tracker again.
    choose({1012});
    EXPECT_TRUE(mark(1012)->isChecked());

    next(q2);
    EXPECT_TRUE(quiz->viewMultipleCheckboxQuestion()->isVisible());
    EXPECT_TRUE(quiz->radioButtons().isEmpty());
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 2 of 4"_s);
    EXPECT_TRUE(quiz->buttonPrevious()->isEnabled());
    EXPECT_TRUE(hasBorder(quiz->buttonPrevious(), NamedColors::blue));
    ASSERT_TRUE(waitFor([&] {
        return dotColor(quiz->progressViews()[1]) == QuizColors::color(NamedColors::blue);
    }));

    choose({1021, 1023, 1021});
    EXPECT_FALSE(mark(1021)->isChecked());
    EXPECT_TRUE(mark(1023)->isChecked());

    const QByteArray prefix = "QuizID=12&FirmwareVersion=&TransmitterID=&ChoiceSelectionJSON=";
    EXPECT_EQ(
        bodiesTo(Paths::setUserQuizTracker),
        (QList<QByteArray>{prefix + R"([{"ChoiceID":1011}])", prefix + R"([{"ChoiceID":1012}])",
                           prefix + R"([{"ChoiceID":1012}])",
                           prefix + R"([{"ChoiceID":1012},{"ChoiceID":1021}])",
                           prefix + R"([{"ChoiceID":1012},{"ChoiceID":1021},{"ChoiceID":1023}])",
                           prefix + R"([{"ChoiceID":1012},{"ChoiceID":1023}])"}));
    for (const LoopbackCloud::Request& request : cloud->requestsTo(Paths::setUserQuizTracker))
        EXPECT_EQ(request.header("Authorization"), QByteArray("Bearer token-1"));

    // The other kinds: true/false and an unknown kind use the radio layout.
    next(q3);
    EXPECT_TRUE(quiz->viewRadioButtonQuestion()->isVisible());
    choose({1031});
    next(q4);
    EXPECT_TRUE(quiz->viewRadioButtonQuestion()->isVisible());
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 4 of 4"_s);
}

// The choice texts of the question on screen, in choice order.
QList<QuizChoiceTextButton*> choiceTexts(OstrivaneQuizViewController* quiz) {
    QWidget* stack = quiz->viewRadioButtonQuestion()->isVisible()
                         ? quiz->viewRadioButtonStack()
                         : quiz->viewMultipleCheckboxStack();
    QList<QuizChoiceTextButton*> found;
    for (int i = 0; i < stack->layout()->count(); ++i)
        if (QWidget* row = stack->layout()->itemAt(i)->widget())
            found += row->findChildren<QuizChoiceTextButton*>();
    return found;
}

// Rows of the image holding a dark pixel: where the title was painted.
QList<int> inkedRows(const QImage& image) {
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < 100) {
                rows.append(y);
                break;
            }
    return rows;
}

TEST(QuizChoiceText, ALongChoiceWrapsOverTheWidthItIsGivenAndTakesClicksOnEveryLine) {
    const QString text = u"Leave the transmitter in the cradle until the upgrade completes, "
                         "even when the progress bar seems to stop for a while"_s;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new QuizChoiceTextButton(text, &window);
    layout->addWidget(button);
    layout->addStretch(1);
    const int lineHeight = button->fontMetrics().height();
    EXPECT_LT(button->minimumSizeHint().width(), 200);
    EXPECT_GE(button->heightForWidth(200), 3 * lineHeight);
    EXPECT_LT(button->heightForWidth(2000), 2 * lineHeight);

    window.resize(260, 300);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(button->text(), text);
    EXPECT_LE(button->geometry().right(), window.width());
    EXPECT_GE(button->height(), button->heightForWidth(button->width()));
    EXPECT_GE(button->height(), 3 * lineHeight);

    // Every line is painted, down to the last.
    const QList<int> inked = inkedRows(button->grab().toImage());
    ASSERT_FALSE(inked.isEmpty());
    EXPECT_LT(inked.first(), lineHeight + 8);
    EXPECT_GT(inked.last(), button->height() - lineHeight - 8);

    int clicks = 0;
    QObject::connect(button, &QAbstractButton::clicked, button, [&] { ++clicks; });
    const QPointF lastLine(button->width() / 4.0, button->height() - lineHeight / 2.0 - 4);
    QMouseEvent press(QEvent::MouseButtonPress, lastLine, button->mapToGlobal(lastLine),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, lastLine, button->mapToGlobal(lastLine),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
    EXPECT_EQ(clicks, 1);
}

TEST_F(QuizScreenTest, ChoicesAreShownWholeInANarrowWindow) {
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    welcome->resize(welcome->minimumSizeHint().width(), 700);
    QApplication::processEvents();

    const QList<QuizChoiceTextButton*> texts = choiceTexts(quiz);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[1]->text(),
              u"Leave the transmitter in the cradle until the upgrade completes"_s);
    for (QuizChoiceTextButton* text : texts) {
        SCOPED_TRACE(text->text().toStdString());
        // Within its row, and tall enough for every line its width needs.
        EXPECT_LE(text->geometry().right(), text->parentWidget()->width());
        EXPECT_GE(text->height(), text->heightForWidth(text->width()));
    }
    // The window is narrower than the long choice on one line: it wraps.
    EXPECT_GE(texts[1]->height(), 2 * texts[1]->fontMetrics().height());
    EXPECT_EQ(texts[1]->parentWidget(), mark(1012)->parentWidget());
}

TEST_F(QuizScreenTest, TrackerAnswersAreRestoredWithoutWritingBack) {
    // The tracker remembers answers from an earlier sign-in, two of them for the radio
    // question: the later one counts, and the screen shows exactly what will be submitted.
    quizCloud->setTrackerText(12, uR"([{"ChoiceID":1011},{"ChoiceID":1021},{"ChoiceID":1012}])"_s);
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    ASSERT_TRUE(waitFor([&] { return mark(1012) && mark(1012)->isChecked(); }));
    EXPECT_FALSE(mark(1011)->isChecked());
    EXPECT_EQ(AppState::QuizChoices, (QList<StructQuizChoicesSubmit>{{101, 1012, 2}}));

    next(q2);
    ASSERT_TRUE(waitFor([&] { return mark(1021) && mark(1021)->isChecked(); }));
    EXPECT_FALSE(mark(1022)->isChecked());
    EXPECT_EQ(AppState::QuizChoices,
              (QList<StructQuizChoicesSubmit>{{101, 1012, 2}, {102, 1021, 1}}));
    EXPECT_TRUE(cloud->requestsTo(Paths::setUserQuizTracker).isEmpty());
}

TEST_F(QuizScreenTest, ChosenMarksShowTheNamedBlue) {
    // A blue that no style would pick, so that only the named colour can paint it.
    const QColor blue(0xC0, 0x10, 0xA0);
    NamedColors::setColor(NamedColors::blue, blue);
    auto tinted = [&](QAbstractButton* button) {
        const QImage image = button->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (std::abs(pixel.red() - blue.red()) + std::abs(pixel.green() - blue.green()) +
                        std::abs(pixel.blue() - blue.blue()) <
                    60)
                    return true;
            }
        return false;
    };
    startQuiz();
    const struct {
        QString question;
        int choice;
    } layouts[] = {{q1, 1012}, {q2, 1021}}; // the radio layout, then the checkbox layout
    for (const auto& layout : layouts) {
        if (layout.question != q1)
            next(layout.question);
        ASSERT_TRUE(waitForQuestion(layout.question));
        EXPECT_FALSE(tinted(mark(layout.choice))) << layout.choice;
        choose({layout.choice});
        EXPECT_TRUE(tinted(mark(layout.choice))) << layout.choice;
    }
}

TEST_F(QuizScreenTest, PreviousGoesBackAndSlidesInFromTheLeft) {
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    choose({1012});
    next(q2);
    choose({1022});

    quiz->buttonPrevious()->click();
    ASSERT_TRUE(waitForQuestion(q1));
    auto* slide =
        quiz->viewRadioButtonQuestion()->findChild<QPropertyAnimation*>(u"pushTransition"_s);
    if (slide) { // still running: it starts left of where the view stands
        EXPECT_LT(slide->startValue().toPoint().x(), slide->endValue().toPoint().x());
    }
    EXPECT_TRUE(mark(1012)->isChecked());
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 1 of 4"_s);
    EXPECT_FALSE(quiz->buttonPrevious()->isEnabled());
    EXPECT_TRUE(hasBorder(quiz->buttonPrevious(), NamedColors::lightgrey));
    ASSERT_TRUE(waitFor([&] {
        return dotColor(quiz->progressViews()[1]) == QuizColors::color(NamedColors::grey);
    }));
    // Both answers stay recorded; the one restored from the tracker moves last.
    EXPECT_EQ(AppState::QuizChoices,
              (QList<StructQuizChoicesSubmit>{{102, 1022, 1}, {101, 1012, 2}}));
}

TEST_F(QuizScreenTest, AnOutdatedTrackerReplyDoesNotUndoNewerAnswers) {
    startQuiz();
    answerAll({{1011}, {1021, 1022}});
    quiz->buttonPrevious()->click();
    ASSERT_TRUE(waitForQuestion(q1));

    // The tracker becomes unreachable: every later display gets the last reply it read,
    // which knows nothing of the changes made since.
    cloud->route(u"POST"_s, Paths::setUserQuizTracker, LoopbackCloud::Reply::dropConnection());
    cloud->route(u"POST"_s, Paths::getUserQuizTracker, LoopbackCloud::Reply::dropConnection());
    mark(1012)->click();
    next(q2);
    mark(1022)->click();
    mark(1021)->click(); // no box of the question left ticked
    quiz->buttonPrevious()->click();
    ASSERT_TRUE(waitForQuestion(q1));
    EXPECT_TRUE(mark(1012)->isChecked());
    EXPECT_FALSE(mark(1011)->isChecked());
    next(q2);
    EXPECT_FALSE(mark(1021)->isChecked());
    EXPECT_FALSE(mark(1022)->isChecked());
    EXPECT_EQ(AppState::QuizChoices, (QList<StructQuizChoicesSubmit>{{101, 1012, 2}}));
}

TEST_F(QuizScreenTest, RowsOfTheQuestionLeftTakeNoClicksUntilTheNextIsBuilt) {
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    choose({1012});
    cloud->route(u"POST"_s, Paths::getUserQuizTracker,
                 LoopbackCloud::Reply::json(QJsonArray()).after(300));
    quiz->buttonNext()->click();
    // The title already names question 2 while question 1's rows are still on screen.
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 2 of 4"_s);
    ASSERT_NE(mark(1011), nullptr);
    mark(1011)->click();
    EXPECT_FALSE(mark(1011)->isChecked());
    ASSERT_TRUE(waitForQuestion(q2));
    EXPECT_EQ(AppState::QuizChoices, (QList<StructQuizChoicesSubmit>{{101, 1012, 2}}));
    EXPECT_EQ(cloud->requestsTo(Paths::setUserQuizTracker).size(), 1);
    // The new question's rows take clicks again.
    choose({1021});
}

TEST_F(QuizScreenTest, UnreadableOrLostTrackerRepliesStillShowTheQuestion) {
    // A reply that is not tracker rows, then one that never comes: the question is shown all
    // the same (the request gives up after the client's time-out).
    cloud->route(u"POST"_s, Paths::getUserQuizTracker, LoopbackCloud::Reply::text("<html>oops"));
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    choose({1012});

    cloud->route(u"POST"_s, Paths::getUserQuizTracker, LoopbackCloud::Reply::neverAnswer());
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitFor(
        [&] {
            return quiz->viewMultipleCheckboxQuestion()->isVisible() &&
                   quiz->viewMultipleCheckboxTitleLabel()->text() == q2;
        },
        5000));
}

TEST_F(QuizScreenTest, ObserversAreRegisteredOncePerScreen) {
    startQuiz();
    ASSERT_TRUE(waitForQuestion(q1));
    // Appearing again (the welcome screen hidden and shown) must not double the handlers.
    welcome->hide();
    welcome->show();
    ASSERT_TRUE(waitFor([&] { return quiz->isVisible(); }));
    NotificationCenter::defaultCenter().post(AppConstants::Notifications::quizRetry);
    EXPECT_EQ(AppState::g_quizFailAttempts, 1);
    // The cradle's notification changes nothing.
    NotificationCenter::defaultCenter().post(
        AppConstants::Notifications::serialPortConnectedDisconnected, false);
    ASSERT_TRUE(waitForQuestion(q1));
    EXPECT_EQ(quiz->labelQuestionsTitle()->text(), u"Question 1 of 4"_s);
}

TEST_F(QuizScreenTest, WithoutAQuizTheScreenSaysSo) {
    AppState::standardDefaults().setValue(AppConstants::userdefaultKeys::quiz, QByteArray("[]"));
    startQuiz();
    ASSERT_TRUE(waitFor([&] {
        return quiz->labelQuestionsTitle()->text() == AppConstants::QuizScreen::noQuizAvailable;
    }));
    EXPECT_EQ(usableButtons(), 0);
    EXPECT_TRUE(quiz->progressViews().isEmpty());
    quiz->buttonNext()->click(); // disabled: nothing happens, nothing crashes
    quiz->saveAndContinueLater();
    EXPECT_TRUE(cloud->requestsTo(Paths::getUserQuizTracker).isEmpty());
    EXPECT_EQ(welcome->quizChildViewController(), quiz);
}

} // namespace
