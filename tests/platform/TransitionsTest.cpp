#include "EventLoopWait.h"

#include "platform/NamedColors.h"
#include "platform/TimeScale.h"
#include "platform/Transitions.h"

#include <QElapsedTimer>
#include <QPropertyAnimation>
#include <QVariantAnimation>
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

    QColor windowColor() const { return view->palette().color(QPalette::Window); }

    QWidget window;
    QWidget* view = nullptr;
};
} // namespace

TEST_F(TransitionsTest, PushStartsOneWidthAwayOnTheGivenSideAndEndsWhereTheViewStood) {
    TimeScale::setFactor(0.1);
    const QPoint home = view->pos();
    ASSERT_NE(Transitions::push(view, TransitionDirection::fromRight), nullptr);
    EXPECT_EQ(view->pos(), home + QPoint(200, 0));
    ASSERT_TRUE(waitUntil([&] { return view->pos() == home; }));

    Transitions::push(view, TransitionDirection::fromLeft);
    EXPECT_EQ(view->pos(), home - QPoint(200, 0));
    ASSERT_TRUE(waitUntil([&] { return view->pos() == home; }));

    Transitions::push(view, TransitionDirection::fromBottom);
    EXPECT_EQ(view->pos(), home + QPoint(0, 100));
    ASSERT_TRUE(waitUntil([&] { return view->pos() == home; }));
}

TEST_F(TransitionsTest, APushDuringAPushStillEndsAtTheOriginalPlace) {
    const QPoint home = view->pos();
    Transitions::push(view, TransitionDirection::fromRight); // 0.3 s, unscaled
    spinEventLoop(60);
    ASSERT_NE(view->pos(), home);

    TimeScale::setFactor(0.1);
    Transitions::push(view, TransitionDirection::fromLeft);
    ASSERT_TRUE(waitUntil([&] { return view->findChildren<QPropertyAnimation*>().isEmpty(); }));
    EXPECT_EQ(view->pos(), home);
}

TEST_F(TransitionsTest, WindowsDoNotSlide) {
    const QPoint where = window.pos();
    EXPECT_EQ(Transitions::push(&window, TransitionDirection::fromRight), nullptr);
    EXPECT_EQ(window.pos(), where);
}

TEST_F(TransitionsTest, UnscaledPushTakesThreeTenthsOfASecond) {
    const QPoint home = view->pos();
    QElapsedTimer clock;
    clock.start();
    Transitions::push(view, TransitionDirection::fromRight);
    ASSERT_TRUE(waitUntil([&] { return view->pos() == home; }));
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST_F(TransitionsTest, ColourChangeRunsOneSecondAndEndsAtTheSecondColour) {
    QElapsedTimer clock;
    clock.start();
    Transitions::animateBackgroundColor(view, Qt::gray, Qt::blue);
    EXPECT_EQ(windowColor(), QColor(Qt::gray));
    EXPECT_TRUE(view->autoFillBackground());
    ASSERT_TRUE(waitUntil([&] { return windowColor() == QColor(Qt::blue); }));
    EXPECT_GE(clock.elapsed(), 900);
}

TEST_F(TransitionsTest, ANewColourChangeReplacesTheRunningOne) {
    QList<QColor> applied;
    const auto record = [&](QWidget*, const QColor& c) { applied << c; };
    Transitions::animateBackgroundColor(view, Qt::white, Qt::red, record); // 1 s
    spinEventLoop(30);

    TimeScale::setFactor(0.05);
    applied.clear();
    Transitions::animateBackgroundColor(view, Qt::green, Qt::blue, record);
    ASSERT_TRUE(
        waitUntil([&] { return !applied.isEmpty() && applied.last() == QColor(Qt::blue); }));
    spinEventLoop(100);
    EXPECT_EQ(applied.first(), QColor(Qt::green));
    EXPECT_EQ(applied.last(), QColor(Qt::blue));
    EXPECT_FALSE(applied.contains(QColor(Qt::red)));
}

TEST(NamedColors, TheFourNamesResolveAndMissingOnesAreLeftToTheCaller) {
    for (const QString& name :
         {NamedColors::appColor, NamedColors::blue, NamedColors::grey, NamedColors::lightgrey}) {
        const auto color = NamedColors::color(name);
        ASSERT_TRUE(color.has_value()) << name.toStdString();
        EXPECT_TRUE(color->isValid());
    }
    EXPECT_NE(NamedColors::color(NamedColors::blue), NamedColors::color(NamedColors::grey));
    EXPECT_FALSE(NamedColors::color(QStringLiteral("Blue")).has_value());

    NamedColors::setColor(NamedColors::grey, std::nullopt);
    EXPECT_FALSE(NamedColors::color(NamedColors::grey).has_value());
    EXPECT_EQ(NamedColors::color(NamedColors::grey).value_or(Qt::gray), QColor(Qt::gray));
    NamedColors::restoreDefaults();
    EXPECT_TRUE(NamedColors::color(NamedColors::grey).has_value());
}
