#include "EventLoopWait.h"

#include "platform/Continuation.h"
#include "platform/Task.h"

#include <QThread>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace {
// What one awaiting coroutine saw.
struct Outcome {
    int resumptions = 0;
    QString value;
    QString error;
    QThread* thread = nullptr;
};

Task<void> awaitValue(Continuation<QString> wait, Outcome* outcome) {
    try {
        outcome->value = co_await wait;
    } catch (const std::exception& e) {
        outcome->error = QString::fromUtf8(e.what());
    }
    outcome->thread = QThread::currentThread();
    ++outcome->resumptions;
}
} // namespace

TEST(Continuation, ResumesItsWaiterOnceFromTheMainQueueWithTheFirstResult) {
    QObject owner;
    Outcome outcome;
    auto wait = Continuation<QString>::make();
    awaitValue(wait, &outcome).start(&owner);

    EXPECT_TRUE(wait.resume(QStringLiteral("reply")));
    EXPECT_FALSE(wait.resume(QStringLiteral("late reply")));
    EXPECT_FALSE(wait.resume(std::make_exception_ptr(std::runtime_error("late failure"))));
    // Not inside resume(): the receive path still clears its buffer before the waiter runs.
    EXPECT_EQ(outcome.resumptions, 0);
    ASSERT_TRUE(waitUntil([&] { return outcome.resumptions > 0; }));
    spinEventLoop();
    EXPECT_EQ(outcome.resumptions, 1);
    EXPECT_EQ(outcome.value, QStringLiteral("reply"));
    EXPECT_TRUE(outcome.error.isEmpty());
}

TEST(Continuation, AWaitEndedBeforeItIsAwaitedContinuesAtOnce) {
    // A request that fails synchronously ends the wait before the caller awaits it.
    QObject owner;
    Outcome failed;
    auto wait = Continuation<QString>::make();
    wait.resume(std::make_exception_ptr(std::runtime_error("no connection")));
    awaitValue(wait, &failed).start(&owner);
    EXPECT_EQ(failed.resumptions, 1);
    EXPECT_EQ(failed.error, QStringLiteral("no connection"));

    // An empty error still fails the wait rather than passing for success.
    Outcome empty;
    auto other = Continuation<QString>::make();
    other.resume(std::exception_ptr());
    awaitValue(other, &empty).start(&owner);
    EXPECT_FALSE(empty.error.isEmpty());
}

TEST(Continuation, ResumedFromAnotherThreadContinuesOnTheMainThread) {
    QObject owner;
    Outcome outcome;
    auto wait = Continuation<QString>::make();
    awaitValue(wait, &outcome).start(&owner);
    std::thread([wait] { wait.resume(QStringLiteral("from worker")); }).join();
    ASSERT_TRUE(waitUntil([&] { return outcome.resumptions == 1; }));
    EXPECT_EQ(outcome.value, QStringLiteral("from worker"));
    EXPECT_EQ(outcome.thread, QCoreApplication::instance()->thread());
}
