#include "platform/TimeScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TimeScale, PeriodsAreUnscaledUnlessATestScalesThemAndAlwaysFitATimer) {
    ASSERT_EQ(TimeScale::factor(), 1.0);
    EXPECT_EQ(TimeScale::milliseconds(3.0), 3000);
    EXPECT_EQ(TimeScale::milliseconds(10.0), 10000);
    EXPECT_EQ(TimeScale::milliseconds(1.0), 1000);
    TimeScale::setFactor(0.01);
    EXPECT_EQ(TimeScale::milliseconds(10.0), 100);
    TimeScale::setFactor(std::nan("")); // nonsense falls back to real time
    EXPECT_EQ(TimeScale::factor(), 1.0);

    EXPECT_EQ(TimeScale::milliseconds(-1.0), 0);
    EXPECT_EQ(TimeScale::milliseconds(std::nan("")), 0);
    // Longer than a timer can count: as long as possible, never wrapped to a short delay.
    EXPECT_EQ(TimeScale::milliseconds(1e9), std::numeric_limits<int>::max());
}
