// The buttons as the user sees them in the window: their fill, their title's colour, and
// round corners while focused (with a visible ring around them) or pressed.
#include "ScreensFixture.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Extensions.h"
#include "doubles/WaitFor.h"
#include "platform/NamedColors.h"
#include "platform/Storyboard.h"
#include "quiz/OstrivaneQuizViewController.h"
#include "quiz/QuizChoiceTextButton.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "shell/OstrivaneListViewController.h"
#include "shell/OstrivaneSplitViewController.h"
#include "support/OstivaneHelpViewController.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QDialog>
#include <QImage>
#include <QPushButton>

#include <functional>

namespace {

enum class State { normal, focused, pressed };

class ButtonLooksTest;

struct LookCase {
    const char* name;
    std::function<QAbstractButton*(ButtonLooksTest&)> button;
    State state;
    QString fill;                    // named colour inside the button
    std::optional<QColor> titleTone; // the title's colour, where it matters
};

void PrintTo(const LookCase& c, std::ostream* os) {
    *os << c.name;
}

class ButtonLooksTest : public ScreensTest, public ::testing::WithParamInterface<LookCase> {};

QColor named(const QString& name) {
    return NamedColors::color(name).value();
}

bool near(const QColor& a, const QColor& b, int tolerance = 12) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

TEST_P(ButtonLooksTest, FillTitleAndCornersAreAsTheScreenGivesThem) {
    const LookCase& c = GetParam();
    QAbstractButton* button = c.button(*this);
    ASSERT_NE(button, nullptr);
    if (!button->isVisible()) {
        // A button of a pane not yet shown is pictured on its own window.
        button->setParent(nullptr);
        button->resize(button->sizeHint());
        button->show();
    }
    if (c.state == State::focused)
        button->setFocus(Qt::TabFocusReason);
    if (c.state == State::pressed)
        button->setDown(true);
    spinFor(50);
    const QImage picture = button->window()->grab().toImage();
    const auto at = [&](int x, int y) {
        return QColor(picture.pixel(button->mapTo(button->window(), QPoint(x, y))));
    };
    // Beside the title, and above it: where only the fill shows.
    const QColor fill = at(button->width() - 4, button->height() / 2);
    const QColor top = at(button->width() / 2, 5);
    const QColor expected = c.state == State::pressed ? named(c.fill).darker(115) : named(c.fill);
    EXPECT_TRUE(near(top, expected) || near(fill, expected))
        << "fill " << qPrintable(top.name()) << " / " << qPrintable(fill.name()) << ", expected "
        << qPrintable(expected.name());

    if (c.titleTone) {
        // The title's strongest pixels take its colour.
        int best = -1;
        QColor title;
        for (int y = 0; y < button->height(); ++y)
            for (int x = 0; x < button->width(); ++x) {
                const QColor pixel = at(x, y);
                const int distance = std::abs(pixel.lightness() - expected.lightness());
                if (x > 4 && x < button->width() - 4 && y > 4 && y < button->height() - 4 &&
                    distance > best) {
                    best = distance;
                    title = pixel;
                }
            }
        EXPECT_TRUE(near(title, *c.titleTone, 40))
            << "title " << qPrintable(title.name()) << ", expected "
            << qPrintable(c.titleTone->name());
    }
    if (c.state != State::normal) {
        // The corner stays round: what lies behind shows there, not the fill or the ring
        // (which rounds the corner further out).
        const QColor corner = at(2, 2);
        EXPECT_FALSE(near(corner, expected, 30) || corner.lightness() < 80)
            << "corner " << qPrintable(corner.name());
    }
    if (c.state == State::focused) {
        // A dark ring around it.
        EXPECT_LT(at(button->width() / 2, -3).lightness(), 60)
            << qPrintable(at(button->width() / 2, -3).name());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ButtonLooksTest,
    ::testing::Values(
        LookCase{"QuizChoiceText",
                 [](ButtonLooksTest& app) -> QAbstractButton* {
                     return app.startQuiz()->findChildren<QuizChoiceTextButton*>().value(0);
                 },
                 State::normal, NamedColors::appColor, QColor(Qt::black)},
        LookCase{"StartTransmitterUpgrade",
                 [](ButtonLooksTest& app) -> QAbstractButton* {
                     return app.startQuiz()->buttonStartTransmitterUpgrade();
                 },
                 State::normal, NamedColors::blue, QColor(Qt::white)},
        LookCase{
            "AlertClose",
            [](ButtonLooksTest& app) -> QAbstractButton* {
                NetworkManager::shared().setConnected(false);
                app.welcomeScreen()->buttonSupportUpload()->click();
                return app.waitForSheet()->findChild<OstrivaneCustomAlertView*>()->buttonClose();
            },
            State::normal, NamedColors::appColor, std::nullopt},
        LookCase{"SendRequest",
                 [](ButtonLooksTest& app) -> QAbstractButton* {
                     return app.showHelp()->btSend_viewTroubleshooting;
                 },
                 State::normal, NamedColors::blue, QColor(Qt::white)},
        LookCase{"SupportUploadFocused",
                 [](ButtonLooksTest& app) -> QAbstractButton* {
                     return app.welcomeScreen()->buttonSupportUpload();
                 },
                 State::focused, NamedColors::blue, std::nullopt},
        LookCase{"SupportUploadPressed",
                 [](ButtonLooksTest& app) -> QAbstractButton* {
                     return app.welcomeScreen()->buttonSupportUpload();
                 },
                 State::pressed, NamedColors::blue, std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });
