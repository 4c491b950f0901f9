#include "platform/TimeScale.h"

#include <atomic>
#include <cmath>
#include <limits>

namespace {
std::atomic<double> g_factor{1.0};
}

double TimeScale::factor() {
    return g_factor.load();
}

void TimeScale::setFactor(double factor) {
    g_factor.store(factor > 0 ? factor : 1.0);
}

int TimeScale::milliseconds(double seconds) {
    const double ms = seconds * 1000.0 * factor();
    if (!(ms > 0.0)) // also NaN
        return 0;
    // A period too long for a timer waits as long as a timer can, rather than wrapping round.
    constexpr double longest = std::numeric_limits<int>::max();
    return ms >= longest ? std::numeric_limits<int>::max() : static_cast<int>(std::lround(ms));
}
