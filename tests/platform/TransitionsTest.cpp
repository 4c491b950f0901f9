#include "EventLoopWait.h"

#include "platform/NamedColors.h"
#include "platform/TimeScale.h"
#include "platform/Transitions.h"

#include <QElapsedTimer>
#include <QPropertyAnimation>
#include <QWidget>

#include <gtest/gtest.h>

namespace {
class TransitionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(400, 300);
        view = new QWidget(&window);
        view->setGeometry(20, 10, 200, 100);
        window.show();
    }
    void TearDown() override { TimeScale::setFactor(1.0); }

    QWidget window;
    QWidget* view = nullptr;
};
} // namespace

TEST_F(TransitionsTest, PushStartsOneSizeAwayOnTheGivenSideAndEndsWhereTheViewStood) {
    const QPoint home = view->pos();
    QElapsedTimer clock;
    clock.start();
    Transitions::push(view, TransitionDirection::fromRight); // unscaled: 0.3 s
    EXPECT_EQ(view->pos(), home + QPoint(200, 0));
    ASSERT_TRUE(waitUntil([&] { return view->pos() == home; }));
    EXPECT_GE(clock.elapsed(), 250);

    TimeScale::setFactor(0.1);
    Transitions::push(view, TransitionDirection::fromBottom);
    EXPECT_EQ(view->pos(), home + QPoint(0, 100));
    ASSERT_TRUE(waitUntil([&] { return view->pos() == home; }));

    EXPECT_EQ(Transitions::push(&window, TransitionDirection::fromLeft), nullptr); // windows stay
}

TEST_F(TransitionsTest, APushDuringAPushStillEndsAtTheOriginalPlace) {
    const QPoint home = view->pos();
    Transitions::push(view, TransitionDirection::fromRight);
    spinEventLoop(60);
    ASSERT_NE(view->pos(), home);
    TimeScale::setFactor(0.1);
    Transitions::push(view, TransitionDirection::fromLeft);
    EXPECT_EQ(view->pos(), home - QPoint(200, 0));
    ASSERT_TRUE(waitUntil([&] { return view->findChildren<QPropertyAnimation*>().isEmpty(); }));
    EXPECT_EQ(view->pos(), home);
}

TEST_F(TransitionsTest, ColourChangeTakesASecondEndsAtTheSecondColourAndReplacesARunningOne) {
    QElapsedTimer clock;
    clock.start();
    Transitions::animateBackgroundColor(view, Qt::gray, Qt::blue);
    EXPECT_EQ(view->palette().color(QPalette::Window), QColor(Qt::gray));
    ASSERT_TRUE(waitUntil([&] { return view->palette().color(QPalette::Window) == Qt::blue; }));
    EXPECT_GE(clock.elapsed(), 900);

    QList<QColor> applied;
    const auto record = [&](QWidget*, const QColor& c) { applied << c; };
    Transitions::animateBackgroundColor(view, Qt::white, Qt::red, record);
    TimeScale::setFactor(0.05);
    applied.clear();
    Transitions::animateBackgroundColor(view, Qt::green, Qt::blue, record);
    ASSERT_TRUE(waitUntil([&] { return applied.last() == QColor(Qt::blue); }));
    spinEventLoop(100);
    EXPECT_EQ(applied.first(), QColor(Qt::green));
    EXPECT_EQ(applied.last(), QColor(Qt::blue));
    EXPECT_FALSE(applied.contains(QColor(Qt::red)));
}

TEST(NamedColors, KnownNamesResolveAndMissingOnesAreLeftToTheCaller) {
    EXPECT_TRUE(NamedColors::color(NamedColors::lightgrey).has_value());
    EXPECT_NE(NamedColors::color(NamedColors::blue), NamedColors::color(NamedColors::grey));
    EXPECT_FALSE(NamedColors::color(QStringLiteral("Blue")).has_value());
    NamedColors::setColor(NamedColors::grey, std::nullopt);
    EXPECT_EQ(NamedColors::color(NamedColors::grey).value_or(Qt::gray), QColor(Qt::gray));
    NamedColors::restoreDefaults();
    EXPECT_TRUE(NamedColors::color(NamedColors::grey).has_value());
}
