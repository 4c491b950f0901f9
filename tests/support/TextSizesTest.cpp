// Type sizes are pixels: a 17 stands for 17 pixels on every screen. The help message's hint
// reads like the message itself and stands clear of the caret.
#include "ScreensFixture.h"

#include "doubles/WaitFor.h"
#include "quiz/OstrivaneQuizViewController.h"
#include "quiz/QuizChoiceTextButton.h"
#include "support/OstivaneHelpViewController.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace {

class TextSizesTest;

struct SizeCase {
    const char* name;
    std::function<QWidget*(TextSizesTest&)> widget;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

class TextSizesTest : public ScreensTest, public ::testing::WithParamInterface<SizeCase> {
public:
    OstivaneHelpViewController* helpMessage() {
        OstivaneHelpViewController* help = showHelp();
        help->TroubleShootingItemClicked(nullptr);
        return help;
    }
};

} // namespace

TEST_P(TextSizesTest, SeventeenIsSeventeenPixels) {
    QWidget* widget = GetParam().widget(*this);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->font().pixelSize(), 17);
    EXPECT_LE(widget->fontMetrics().ascent(), 17);

    // A hint lies on the message's own page (its viewport).
    const QWidget* page = widget->parentWidget();
    auto* message = page ? qobject_cast<QPlainTextEdit*>(page->parentWidget()) : nullptr;
    if (auto* hint = qobject_cast<QLabel*>(widget); hint && message) {
        EXPECT_EQ(hint->font(), message->font());
        // On the first line, after the caret, and whole.
        const QRect caret = message->cursorRect();
        EXPECT_GT(hint->x(), caret.right());
        EXPECT_LT(std::abs(hint->y() - caret.top()), caret.height() / 2);
        EXPECT_GE(hint->width(), hint->sizeHint().width());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextSizesTest,
    ::testing::Values(
        SizeCase{"HelpMessage",
                 [](TextSizesTest& app) -> QWidget* {
                     return app.helpMessage()->troubleshootingTextView;
                 }},
        SizeCase{
            "HelpMessageHint",
            [](TextSizesTest& app) -> QWidget* { return app.helpMessage()->textFieldPlaceholder; }},
        SizeCase{"QuizChoiceText",
                 [](TextSizesTest& app) -> QWidget* {
                     return app.startQuiz()->findChildren<QuizChoiceTextButton*>().value(0);
                 }},
        SizeCase{"QuizChoiceMark",
                 [](TextSizesTest& app) -> QWidget* {
                     return app.startQuiz()->findChildren<QRadioButton*>().value(0);
                 }},
        SizeCase{
            "QuizQuestion",
            [](TextSizesTest& app) -> QWidget* { return app.startQuiz()->viewRadioTitleLabel(); }}),
    [](const auto& row) { return std::string(row.param.name); });
