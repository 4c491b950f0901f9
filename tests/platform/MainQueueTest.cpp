#include "EventLoopWait.h"

#include "platform/MainQueue.h"
#include "platform/TimeScale.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

namespace {
class MainQueueTest : public ::testing::Test {
protected:
    void TearDown() override { TimeScale::setFactor(1.0); }
    QStringList order;
};
} // namespace

TEST_F(MainQueueTest, CallsRunLaterOnTheMainThreadInPostingOrder) {
    MainQueue::async([&] { order << QStringLiteral("a"); });
    MainQueue::async([&] {
        order << QStringLiteral("b");
        MainQueue::async([&] { order << QStringLiteral("d"); });
    });
    std::thread([&] {
        MainQueue::async([&] { order << (MainQueue::isMainThread() ? u"c"_s : u"c off main"_s); });
    }).join();
    EXPECT_TRUE(order.isEmpty()); // nothing runs inside the call
    ASSERT_TRUE(waitUntil([&] { return order.size() == 4; }));
    EXPECT_EQ(order, (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
}

TEST_F(MainQueueTest, CallsForADestroyedContextAreDropped) {
    auto context = std::make_unique<QObject>();
    MainQueue::async(context.get(), [&] { order << u"async"_s; });
    MainQueue::asyncAfter(0.01, context.get(), [&] { order << u"after"_s; });
    QObject living;
    MainQueue::asyncAfter(0.02, &living, [&] { order << u"living"_s; });
    context.reset();
    ASSERT_TRUE(waitUntil([&] { return !order.isEmpty(); }));
    spinEventLoop();
    EXPECT_EQ(order, QStringList{u"living"_s});
}

TEST_F(MainQueueTest, DelayedCallsRunByDueTimeAndEqualDelaysKeepPostingOrder) {
    TimeScale::setFactor(0.1);
    MainQueue::asyncAfter(3.0, [&] { order << u"3s"_s; });
    MainQueue::asyncAfter(1.0, [&] { order << u"1s first"_s; });
    MainQueue::asyncAfter(1.0, [&] { order << u"1s second"_s; });
    std::thread([&] { MainQueue::asyncAfter(2.0, [&] { order << u"2s"_s; }); }).join();
    MainQueue::async([&] { order << u"now"_s; });
    // A busy main thread does not pick up the call from the other thread for a while; its
    // delay still counts from the call.
    QThread::msleep(150);
    ASSERT_TRUE(waitUntil([&] { return order.size() == 5; }));
    EXPECT_EQ(order, (QStringList{u"now"_s, u"1s first"_s, u"1s second"_s, u"2s"_s, u"3s"_s}));
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
        EXPECT_GE(firedAfter[i], delaysMs[i]);
}
