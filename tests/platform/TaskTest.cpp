#include "EventLoopWait.h"

#include "platform/Continuation.h"
#include "platform/Task.h"
#include "platform/TaskFrame.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {
// Counts the live instances, to see which frames were destroyed.
struct Alive {
    explicit Alive(int* count) : count_(count) { ++*count_; }
    ~Alive() { --*count_; }
    Alive(const Alive&) = delete;
    Alive& operator=(const Alive&) = delete;
    int* count_;
};

Task<int> twice(int value) {
    co_return value * 2;
}
Task<int> failing() {
    throw std::runtime_error("no reply");
    co_return 0;
}
Task<int> sumOfTwice(int a, int b) {
    co_return (co_await twice(a)) + (co_await twice(b));
}

Task<void> collect(Task<int> task, int* result, QString* error) {
    try {
        *result = co_await std::move(task);
    } catch (const std::exception& e) {
        *error = QString::fromUtf8(e.what());
    }
}

Task<int> exchange(Continuation<int> reply, int* alive) {
    Alive guard(alive);
    co_return (co_await reply) + 1;
}

// A screen's run: two exchanges, one after the other.
Task<void> run(Continuation<int> first, Continuation<int> second, int* alive, int* steps) {
    Alive guard(alive);
    *steps += co_await exchange(first, alive);
    *steps += co_await exchange(second, alive);
}

class Screen : public QObject {
public:
    explicit Screen(std::vector<int>* seen) : seen_(seen) {}
    Task<void> waitAndRecord(Continuation<int> reply) { seen_->push_back(co_await reply); }

private:
    std::vector<int>* seen_;
};

Task<void> manyReadySteps(int count, int* total) {
    for (int i = 0; i < count; ++i)
        *total += co_await twice(1);
}

QStringList* g_warnings = nullptr;
void recordWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (g_warnings && type == QtWarningMsg)
        g_warnings->append(message);
}
} // namespace

TEST(Task, ValuesAndErrorsTravelThroughNestedAwaits) {
    QObject owner;
    int result = 0;
    QString error;
    collect(sumOfTwice(3, 4), &result, &error).start(&owner);
    EXPECT_EQ(result, 14);
    EXPECT_TRUE(error.isEmpty());
    collect(failing(), &result, &error).start(&owner);
    EXPECT_EQ(result, 14);
    EXPECT_EQ(error, QStringLiteral("no reply"));
}

TEST(Task, AStartedTaskRunsToItsEndThroughSuspensionsAndReleasesItsFrame) {
    QObject owner;
    int alive = 0;
    int steps = 0;
    auto first = Continuation<int>::make();
    auto second = Continuation<int>::make();
    run(first, second, &alive, &steps).start(&owner);
    EXPECT_EQ(alive, 2); // the run and its first exchange are suspended
    first.resume(10);
    ASSERT_TRUE(waitUntil([&] { return steps == 11; }));
    second.resume(20);
    ASSERT_TRUE(waitUntil([&] { return steps == 32; }));
    EXPECT_EQ(alive, 0);
    EXPECT_TRUE(waitUntil([&] { return owner.findChildren<TaskFrame*>().isEmpty(); }));
}

TEST(Task, DestroyingTheOwnerDestroysSuspendedFramesAndNothingResumesThem) {
    int alive = 0;
    int steps = 0;
    auto first = Continuation<int>::make();
    auto owner = std::make_unique<QObject>();
    run(first, Continuation<int>::make(), &alive, &steps).start(owner.get());
    owner.reset();
    EXPECT_EQ(alive, 0); // the run and the exchange it awaited are both gone
    first.resume(5);
    spinEventLoop();
    EXPECT_EQ(steps, 0);

    // Destroyed after the resumption was posted but before it ran.
    std::vector<int> seen;
    auto reply = Continuation<int>::make();
    auto* screen = new Screen(&seen);
    screen->waitAndRecord(reply).start(screen);
    reply.resume(7);
    delete screen;
    spinEventLoop();
    EXPECT_TRUE(seen.empty());
}

TEST(Task, ALongRunOfStepsThatEndAtOnceDoesNotGrowTheStack) {
    QObject owner;
    int total = 0;
    manyReadySteps(200000, &total).start(&owner);
    EXPECT_EQ(total, 400000);
}

TEST(Task, AnErrorNobodyAwaitsIsLogged) {
    QStringList warnings;
    g_warnings = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler(recordWarning);
    QObject owner;
    int alive = 0;
    auto wait = Continuation<int>::make();
    exchange(wait, &alive).start(&owner);
    wait.resume(std::make_exception_ptr(std::runtime_error("cradle removed")));
    const bool logged = waitUntil([&] { return !warnings.isEmpty(); });
    qInstallMessageHandler(previous);
    g_warnings = nullptr;
    ASSERT_TRUE(logged);
    EXPECT_TRUE(warnings.front().contains(QStringLiteral("cradle removed")));
}
