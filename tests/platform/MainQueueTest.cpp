#include "EventLoopWait.h"

#include "platform/MainQueue.h"
#include "platform/TimeScale.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <thread>

namespace {
// Restores the unscaled time after each test.
class MainQueueTest : public ::testing::Test {
protected:
    void TearDown() override { TimeScale::setFactor(1.0); }
    QStringList order;
};
} // namespace

TEST_F(MainQueueTest, AsyncCallsRunLaterInPostingOrder) {
    MainQueue::async([&] { order << QStringLiteral("a"); });
    MainQueue::async([&] {
        order << QStringLiteral("b");
        MainQueue::async([&] { order << QStringLiteral("d"); });
    });
    MainQueue::async([&] { order << QStringLiteral("c"); });
    EXPECT_TRUE(order.isEmpty()); // nothing runs inside the call

    ASSERT_TRUE(waitUntil([&] { return order.size() == 4; }));
    EXPECT_EQ(order, (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                  QStringLiteral("d")}));
}

TEST_F(MainQueueTest, CallsPostedFromAnotherThreadRunOnTheMainThreadInOrder) {
    std::mutex mutex;
    QList<int> seen;
    bool allOnMain = true;
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            MainQueue::async([&, i] {
                allOnMain = allOnMain && MainQueue::isMainThread();
                std::lock_guard lock(mutex);
                seen << i;
            });
        }
    });
    worker.join();

    ASSERT_TRUE(waitUntil([&] {
        std::lock_guard lock(mutex);
        return seen.size() == 100;
    }));
    EXPECT_TRUE(allOnMain);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST_F(MainQueueTest, CallsForADestroyedContextAreDropped) {
    auto context = std::make_unique<QObject>();
    MainQueue::async(context.get(), [&] { order << QStringLiteral("async"); });
    MainQueue::asyncAfter(0.01, context.get(), [&] { order << QStringLiteral("after"); });
    QObject living;
    MainQueue::asyncAfter(0.02, &living, [&] { order << QStringLiteral("living"); });
    context.reset();

    ASSERT_TRUE(waitUntil([&] { return !order.isEmpty(); }));
    spinEventLoop(50);
    EXPECT_EQ(order, QStringList{QStringLiteral("living")});
}

TEST_F(MainQueueTest, DelayedCallsRunByDueTimeAndEqualDelaysKeepPostingOrder) {
    TimeScale::setFactor(0.01);
    MainQueue::asyncAfter(3.0, [&] { order << QStringLiteral("3s"); });
    MainQueue::asyncAfter(1.0, [&] { order << QStringLiteral("1s first"); });
    MainQueue::asyncAfter(1.0, [&] { order << QStringLiteral("1s second"); });
    std::thread worker([&] { MainQueue::asyncAfter(2.0, [&] { order << QStringLiteral("2s"); }); });
    worker.join();
    MainQueue::async([&] { order << QStringLiteral("now"); });

    ASSERT_TRUE(waitUntil([&] { return order.size() == 5; }));
    EXPECT_EQ(order, (QStringList{QStringLiteral("now"), QStringLiteral("1s first"),
                                  QStringLiteral("1s second"), QStringLiteral("2s"),
                                  QStringLiteral("3s")}));
}

TEST_F(MainQueueTest, UnscaledDelaysOfSecondsNeverFireEarly) {
    // Qt would make these coarse timers, which may fire up to 5% early.
    const QList<int> delaysMs = {2030, 2110, 2170, 2260};
    QList<qint64> firedAfter(delaysMs.size(), -1);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < delaysMs.size(); ++i)
        MainQueue::asyncAfter(delaysMs[i] / 1000.0, [&, i] { firedAfter[i] = clock.elapsed(); });

    ASSERT_TRUE(waitUntil([&] { return !firedAfter.contains(-1); }, 5000));
    for (int i = 0; i < delaysMs.size(); ++i)
        EXPECT_GE(firedAfter[i], delaysMs[i]) << "delay " << delaysMs[i] << " ms";
}
