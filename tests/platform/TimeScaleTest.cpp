#include "platform/TimeScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TimeScale, ProductPeriodsAreUnscaledUnlessATestScalesThem) {
    ASSERT_EQ(TimeScale::factor(), 1.0);
    EXPECT_EQ(TimeScale::milliseconds(1.0), 1000);
    EXPECT_EQ(TimeScale::milliseconds(3.0), 3000);
    EXPECT_EQ(TimeScale::milliseconds(10.0), 10000);
    EXPECT_EQ(TimeScale::milliseconds(0.3), 300);

    TimeScale::setFactor(0.01);
    EXPECT_EQ(TimeScale::milliseconds(10.0), 100);
    EXPECT_EQ(TimeScale::milliseconds(0.3), 3);

    // A factor that makes no sense falls back to real time.
    for (double bad : {0.0, -2.0, std::nan("")}) {
        TimeScale::setFactor(0.5);
        TimeScale::setFactor(bad);
        EXPECT_EQ(TimeScale::factor(), 1.0) << bad;
    }
    TimeScale::setFactor(1.0);
}

TEST(TimeScale, PeriodsOutsideATimersRangeAreClamped) {
    EXPECT_EQ(TimeScale::milliseconds(-1.0), 0);
    EXPECT_EQ(TimeScale::milliseconds(std::nan("")), 0);
    // Longer than a timer can count: wait as long as possible, never wrap to a short delay.
    EXPECT_EQ(TimeScale::milliseconds(1e9), std::numeric_limits<int>::max());
    EXPECT_EQ(TimeScale::milliseconds(std::numeric_limits<double>::infinity()),
              std::numeric_limits<int>::max());
}
