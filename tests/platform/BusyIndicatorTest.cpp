// The spinner keeps moving while it is animating and can be seen, and wakes the main thread
// only a few times a second for it; hidden or stopped, it does not wake it at all.
#include "platform/BusyIndicator.h"

#include "doubles/WaitFor.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct Case {
    const char* name;
    std::function<void(QWidget& window, BusyIndicator& spinner)> arrange;
    bool ticking;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class BusyIndicatorTest : public ::testing::TestWithParam<Case> {};

TEST_P(BusyIndicatorTest, StepsAFewTimesASecondOnlyWhileAnimatingAndVisible) {
    QWidget window;
    auto* spinner = new BusyIndicator(&window);
    GetParam().arrange(window, *spinner);
    EXPECT_EQ(spinner->isTicking(), GetParam().ticking);

    int steps = 0;
    int last = spinner->step();
    const int windowMs = 500;
    for (int elapsed = 0; elapsed < windowMs; elapsed += 25) {
        spinFor(25);
        if (spinner->step() != last)
            ++steps;
        last = spinner->step();
    }
    if (GetParam().ticking) {
        // Alive to the eye, yet nowhere near a repaint every frame.
        EXPECT_GE(steps, BusyIndicator::stepsPerSecond / 4);
        EXPECT_LE(steps, BusyIndicator::stepsPerSecond / 2 + 2);
    } else {
        EXPECT_EQ(steps, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, BusyIndicatorTest,
    ::testing::Values(
        Case{"Animating",
             [](QWidget& window, BusyIndicator& spinner) {
                 window.show();
                 spinner.startAnimation();
             },
             true},
        Case{"NeverStarted", [](QWidget& window, BusyIndicator&) { window.show(); }, false},
        Case{"StartedWhileHidden",
             [](QWidget&, BusyIndicator& spinner) { spinner.startAnimation(); }, false},
        Case{"Stopped",
             [](QWidget& window, BusyIndicator& spinner) {
                 window.show();
                 spinner.startAnimation();
                 spinner.stopAnimation();
             },
             false},
        Case{"ItsPaneHidden",
             [](QWidget& window, BusyIndicator& spinner) {
                 window.show();
                 spinner.startAnimation();
                 window.hide();
             },
             false},
        Case{"ItsPaneShownAgain",
             [](QWidget& window, BusyIndicator& spinner) {
                 window.show();
                 spinner.startAnimation();
                 window.hide();
                 window.show();
             },
             true}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

} // namespace
