// The spinner keeps moving while it is animating and can be seen, and wakes the main thread
// only a few times a second for it; hidden or stopped, it does not wake it at all.
#include "platform/BusyIndicator.h"

#include "doubles/WaitFor.h"

#include <QImage>
#include <QPixmap>
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

// Its pictures are drawn once and reused: after a change of colour or size it must look exactly
// as a new one made that way would, and each step must show.
struct Change {
    const char* name;
    std::function<void(BusyIndicator& spinner)> apply;
};

void PrintTo(const Change& c, std::ostream* os) {
    *os << c.name;
}

class BusyIndicatorPictureTest : public ::testing::TestWithParam<Change> {};

TEST_P(BusyIndicatorPictureTest, LooksAsANewOneMadeThatWay) {
    QWidget window;
    auto* spinner = new BusyIndicator(&window);
    spinner->resize(spinner->sizeHint());
    window.show();
    const QImage before = spinner->grab().toImage();
    GetParam().apply(*spinner);
    const QImage after = spinner->grab().toImage();
    EXPECT_NE(after, before);

    QWidget otherWindow;
    auto* fresh = new BusyIndicator(&otherWindow);
    fresh->setPalette(spinner->palette());
    fresh->resize(spinner->size());
    otherWindow.show();
    EXPECT_EQ(after, fresh->grab().toImage());
}

TEST(BusyIndicatorPicture, EachStepShows) {
    QWidget window;
    auto* spinner = new BusyIndicator(&window);
    spinner->resize(spinner->sizeHint());
    window.show();
    spinner->startAnimation();
    QList<QImage> seen{spinner->grab().toImage()};
    for (int step = spinner->step(); seen.size() < BusyIndicator::dotCount;) {
        ASSERT_TRUE(waitFor([&] { return spinner->step() != step; }, 2000));
        step = spinner->step();
        const QImage picture = spinner->grab().toImage();
        EXPECT_FALSE(seen.contains(picture)) << "step " << step << " looks like an earlier one";
        seen.append(picture);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, BusyIndicatorPictureTest,
    ::testing::Values(Change{"Recoloured",
                             [](BusyIndicator& spinner) {
                                 QPalette palette = spinner.palette();
                                 palette.setColor(QPalette::WindowText, Qt::red);
                                 spinner.setPalette(palette);
                             }},
                      Change{"Resized", [](BusyIndicator& spinner) { spinner.resize(44, 44); }}),
    [](const ::testing::TestParamInfo<Change>& param) { return std::string(param.param.name); });

} // namespace
