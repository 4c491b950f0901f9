// The timer fires once, never before its due point, follows a due that is moved either way,
// and stays silent once stopped.
#include "platform/DeadlineTimer.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>

namespace {

using namespace std::chrono_literals;
using Clock = DeadlineTimer::Clock;

struct Case {
    const char* name;
    std::chrono::milliseconds first;                // due of the first start, from now
    std::optional<std::chrono::milliseconds> moved; // then started again with this due
    bool stopped;
    std::optional<std::chrono::milliseconds> firesBefore; // none: it must not fire
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class DeadlineTimerTest : public ::testing::TestWithParam<Case> {};

TEST_P(DeadlineTimerTest, FiresOnceNotBeforeItsDue) {
    const Case& c = GetParam();
    DeadlineTimer timer;
    QEventLoop loop;
    int fired = 0;
    Clock::time_point firedAt;
    QObject::connect(&timer, &DeadlineTimer::timeout, &loop, [&] {
        ++fired;
        firedAt = Clock::now();
    });
    const Clock::time_point start = Clock::now();
    timer.startAt(start + c.first);
    const Clock::time_point due = start + c.moved.value_or(c.first);
    if (c.moved)
        timer.startAt(due);
    if (c.stopped)
        timer.stop();
    EXPECT_EQ(timer.isActive(), !c.stopped);
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();

    EXPECT_FALSE(timer.isActive());
    ASSERT_EQ(fired, c.firesBefore ? 1 : 0);
    if (c.firesBefore) {
        EXPECT_GE(firedAt, due);
        EXPECT_LT(firedAt, start + *c.firesBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Dues, DeadlineTimerTest,
                         ::testing::Values(Case{"InTheFuture", 30ms, std::nullopt, false, 250ms},
                                           Case{"AlreadyPassed", -5ms, std::nullopt, false, 100ms},
                                           Case{"MovedLater", 10ms, 60ms, false, 250ms},
                                           Case{"MovedEarlier", 2000ms, 20ms, false, 250ms},
                                           Case{"Stopped", 20ms, std::nullopt, true, std::nullopt}),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
