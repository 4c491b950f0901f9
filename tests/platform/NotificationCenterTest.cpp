#include "platform/NotificationCenter.h"

#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {
const QString kName = QStringLiteral("EnableDisableLogoutButtons");

class NotificationCenterTest : public ::testing::Test {
protected:
    NotificationCenter& center = NotificationCenter::defaultCenter();
    QStringList calls;
};
} // namespace

TEST_F(NotificationCenterTest, DeliversTheObjectToEveryObserverInRegistrationOrder) {
    QObject first;
    QObject second;
    QObject other;
    QVariant seen;
    center.addObserver(&first, kName, [&](const QVariant& object) {
        calls << QStringLiteral("first");
        seen = object;
    });
    center.addObserver(&second, kName, [&](const QVariant&) { calls << QStringLiteral("second"); });
    center.addObserver(&other, QStringLiteral("QuizRetry"),
                       [&](const QVariant&) { calls << QStringLiteral("other"); });

    center.post(kName, QVariant(false));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    EXPECT_EQ(seen, QVariant(false));
    center.removeObserver(&first);
    center.removeObserver(&second);
    center.removeObserver(&other);
}

TEST_F(NotificationCenterTest, ObserversRemovedOrDestroyedDuringDeliveryAreSkipped) {
    QObject remover;
    QObject removed;
    auto destroyed = std::make_unique<QObject>();
    QObject survivor;
    center.addObserver(&remover, kName, [&](const QVariant&) {
        calls << QStringLiteral("remover");
        center.removeObserver(&removed);
        destroyed.reset();
    });
    center.addObserver(&removed, kName,
                       [&](const QVariant&) { calls << QStringLiteral("removed"); });
    center.addObserver(destroyed.get(), kName,
                       [&](const QVariant&) { calls << QStringLiteral("destroyed"); });
    center.addObserver(&survivor, kName,
                       [&](const QVariant&) { calls << QStringLiteral("survivor"); });

    center.post(kName);
    EXPECT_EQ(calls, (QStringList{QStringLiteral("remover"), QStringLiteral("survivor")}));
    EXPECT_EQ(center.observerCount(kName), 2);
    center.removeObserver(&remover);
    center.removeObserver(&survivor);
    EXPECT_EQ(center.observerCount(kName), 0);
}

TEST_F(NotificationCenterTest, AnObserverRemovingItselfKeepsTheOthersAndIsNotCalledAgain) {
    QObject once;
    QObject always;
    center.addObserver(&once, kName, [&](const QVariant&) {
        calls << QStringLiteral("once");
        center.removeObserver(&once, kName);
    });
    center.addObserver(&always, kName, [&](const QVariant&) { calls << QStringLiteral("always"); });

    center.post(kName);
    center.post(kName);
    EXPECT_EQ(calls, (QStringList{QStringLiteral("once"), QStringLiteral("always"),
                                  QStringLiteral("always")}));
    center.removeObserver(&always);
}

TEST_F(NotificationCenterTest, ObserversAddedDuringDeliveryHearOnlyLaterPosts) {
    QObject adder;
    QObject late;
    center.addObserver(&adder, kName, [&](const QVariant&) {
        if (center.observerCount(kName) == 1)
            center.addObserver(&late, kName,
                               [&](const QVariant&) { calls << QStringLiteral("late"); });
        calls << QStringLiteral("adder");
    });

    center.post(kName);
    EXPECT_EQ(calls, QStringList{QStringLiteral("adder")});
    center.post(kName);
    EXPECT_EQ(calls, (QStringList{QStringLiteral("adder"), QStringLiteral("adder"),
                                  QStringLiteral("late")}));
    center.removeObserver(&adder);
    center.removeObserver(&late);
}

TEST_F(NotificationCenterTest, AnObserverDestroyedWithoutRemovingItselfIsForgotten) {
    auto observer = std::make_unique<QObject>();
    center.addObserver(observer.get(), kName,
                       [&](const QVariant&) { calls << QStringLiteral("x"); });
    observer.reset();

    EXPECT_EQ(center.observerCount(kName), 0);
    center.post(kName);
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(NotificationCenterTest, NestedPostsReachEveryObserver) {
    QObject outer;
    QObject inner;
    const QString innerName = QStringLiteral("EnableDisableMenuButtons");
    center.addObserver(&outer, kName, [&](const QVariant&) {
        calls << QStringLiteral("outer");
        center.post(innerName);
        calls << QStringLiteral("outer done");
    });
    center.addObserver(&inner, innerName,
                       [&](const QVariant&) { calls << QStringLiteral("inner"); });

    center.post(kName);
    EXPECT_EQ(calls, (QStringList{QStringLiteral("outer"), QStringLiteral("inner"),
                                  QStringLiteral("outer done")}));
    center.removeObserver(&outer);
    center.removeObserver(&inner);
}

TEST_F(NotificationCenterTest, PostsFromAnotherThreadWhileObserversComeAndGo) {
    const QString name = QStringLiteral("SerialPortConnectedDisconnected");
    std::atomic<int> delivered{0};
    std::atomic<bool> stop{false};
    QObject steady;
    center.addObserver(&steady, name, [&](const QVariant&) { ++delivered; });

    std::thread poster([&] {
        while (!stop)
            center.post(name, QVariant(true));
    });
    while (delivered == 0)
        std::this_thread::yield();
    for (int i = 0; i < 20000; ++i) {
        QObject transient;
        center.addObserver(&transient, name, [](const QVariant&) {});
        if (i % 2)
            center.removeObserver(&transient);
    }
    stop = true;
    poster.join();

    EXPECT_GT(delivered.load(), 0);
    EXPECT_EQ(center.observerCount(name), 1);
    center.removeObserver(&steady);
}
