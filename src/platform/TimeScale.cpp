#include "platform/TimeScale.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {
std::atomic<double> g_factor{1.0};
}

double TimeScale::factor() { return g_factor.load(); }

void TimeScale::setFactor(double factor) { g_factor.store(factor > 0 ? factor : 1.0); }

int TimeScale::milliseconds(double seconds) {
    const double ms = std::max(0.0, seconds * 1000.0 * factor());
    return static_cast<int>(std::lround(ms));
}
