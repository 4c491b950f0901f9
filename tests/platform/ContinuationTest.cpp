#include "EventLoopWait.h"

#include "platform/Continuation.h"
#include "platform/Task.h"

#include <QObject>
#include <QString>
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

Task<void> awaitTwice(Continuation<void> wait, int* passes) {
    co_await wait;
    ++*passes;
    co_await wait; // already ended: continues at once
    ++*passes;
}

} // namespace

TEST(Continuation, OnlyTheFirstResumeReachesTheWaiter) {
    QObject owner;
    Outcome outcome;
    auto wait = Continuation<QString>::make();
    awaitValue(wait, &outcome).start(&owner);

    EXPECT_TRUE(wait.resume(QStringLiteral("reply")));
    EXPECT_FALSE(wait.resume(QStringLiteral("late reply")));
    EXPECT_FALSE(wait.resume(std::make_exception_ptr(std::runtime_error("late failure"))));
    ASSERT_TRUE(waitUntil([&] { return outcome.resumptions > 0; }));
    spinEventLoop();

    EXPECT_EQ(outcome.resumptions, 1);
    EXPECT_EQ(outcome.value, QStringLiteral("reply"));
    EXPECT_TRUE(outcome.error.isEmpty());
    EXPECT_TRUE(wait.isResumed());
}

TEST(Continuation, ResumptionIsPostedNotRunInsideResume) {
    // The receive path resumes the waiter and then clears its buffer; the waiter must only
    // run after that, from the main queue.
    QObject owner;
    Outcome outcome;
    auto wait = Continuation<QString>::make();
    awaitValue(wait, &outcome).start(&owner);

    wait.resume(QStringLiteral("x"));
    EXPECT_EQ(outcome.resumptions, 0);
    ASSERT_TRUE(waitUntil([&] { return outcome.resumptions == 1; }));
}

TEST(Continuation, ResumedBeforeBeingAwaitedContinuesAtOnce) {
    // A request that fails synchronously resumes the wait before the caller awaits it.
    QObject owner;
    Outcome outcome;
    auto wait = Continuation<QString>::make();
    wait.resume(QStringLiteral("early"));
    awaitValue(wait, &outcome).start(&owner);

    EXPECT_EQ(outcome.resumptions, 1);
    EXPECT_EQ(outcome.value, QStringLiteral("early"));
}

TEST(Continuation, ErrorsReachTheWaiterAsExceptions) {
    QObject owner;
    Outcome outcome;
    auto wait = Continuation<QString>::make();
    awaitValue(wait, &outcome).start(&owner);

    wait.resume(std::make_exception_ptr(std::runtime_error("port lost")));
    ASSERT_TRUE(waitUntil([&] { return outcome.resumptions == 1; }));
    EXPECT_EQ(outcome.error, QStringLiteral("port lost"));
    EXPECT_TRUE(outcome.value.isEmpty());

    // An empty error still fails the wait rather than passing for success.
    Outcome second;
    auto other = Continuation<QString>::make();
    awaitValue(other, &second).start(&owner);
    other.resume(std::exception_ptr());
    ASSERT_TRUE(waitUntil([&] { return second.resumptions == 1; }));
    EXPECT_FALSE(second.error.isEmpty());
}

TEST(Continuation, ResumedFromAnotherThreadContinuesOnTheMainThread) {
    QObject owner;
    Outcome outcome;
    auto wait = Continuation<QString>::make();
    awaitValue(wait, &outcome).start(&owner);

    std::thread worker([wait] { wait.resume(QStringLiteral("from worker")); });
    worker.join();
    ASSERT_TRUE(waitUntil([&] { return outcome.resumptions == 1; }));
    EXPECT_EQ(outcome.value, QStringLiteral("from worker"));
    EXPECT_EQ(outcome.thread, QCoreApplication::instance()->thread());
}

TEST(Continuation, EmptyOrDoublyAwaitedHandlesFailCleanly) {
    QObject owner;
    Continuation<QString> empty;
    EXPECT_FALSE(empty.resume(QStringLiteral("nobody")));
    Outcome onEmpty;
    awaitValue(empty, &onEmpty).start(&owner);
    EXPECT_EQ(onEmpty.resumptions, 1);
    EXPECT_FALSE(onEmpty.error.isEmpty());

    // A second coroutine waiting on the same wait gets an error; the first still gets the value.
    auto shared = Continuation<QString>::make();
    Outcome first;
    Outcome second;
    awaitValue(shared, &first).start(&owner);
    awaitValue(shared, &second).start(&owner);
    EXPECT_EQ(second.resumptions, 1);
    EXPECT_FALSE(second.error.isEmpty());
    shared.resume(QStringLiteral("one"));
    ASSERT_TRUE(waitUntil([&] { return first.resumptions == 1; }));
    EXPECT_EQ(first.value, QStringLiteral("one"));
}

TEST(Continuation, AwaitingAnEndedWaitAgainContinuesAtOnce) {
    QObject owner;
    int passes = 0;
    auto wait = Continuation<void>::make();
    awaitTwice(wait, &passes).start(&owner);
    EXPECT_EQ(passes, 0);
    wait.resume();
    ASSERT_TRUE(waitUntil([&] { return passes == 2; }));
}
