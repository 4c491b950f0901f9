#include "platform/NotificationCenter.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {
const QString kName = QStringLiteral("EnableDisableLogoutButtons");
NotificationCenter& center() {
    return NotificationCenter::defaultCenter();
}
} // namespace

TEST(NotificationCenter, DeliversInRegistrationOrderAndSkipsObserversGoneMeanwhile) {
    QStringList calls;
    QObject remover, removed, survivor;
    auto destroyed = std::make_unique<QObject>();
    QVariant seen;
    center().addObserver(&remover, kName, [&](const QVariant& object) {
        calls << QStringLiteral("remover");
        seen = object;
        center().removeObserver(&removed);
        destroyed.reset();
    });
    center().addObserver(&removed, kName, [&](const QVariant&) { calls << QStringLiteral("x"); });
    center().addObserver(destroyed.get(), kName,
                         [&](const QVariant&) { calls << QStringLiteral("y"); });
    center().addObserver(&survivor, kName,
                         [&](const QVariant&) { calls << QStringLiteral("survivor"); });
    center().addObserver(&survivor, QStringLiteral("QuizRetry"),
                         [&](const QVariant&) { calls << QStringLiteral("other name"); });

    center().post(kName, QVariant(false));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("remover"), QStringLiteral("survivor")}));
    EXPECT_EQ(seen, QVariant(false));
    EXPECT_EQ(center().observerCount(kName), 2);
    center().removeObserver(&remover);
    center().removeObserver(&survivor);
}

TEST(NotificationCenter, AnObserverDestroyedWithoutRemovingItselfIsForgotten) {
    int calls = 0;
    auto observer = std::make_unique<QObject>();
    center().addObserver(observer.get(), kName, [&](const QVariant&) { ++calls; });
    observer.reset();
    center().post(kName);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(center().observerCount(kName), 0);
}

TEST(NotificationCenter, PostsFromAnotherThreadWhileObserversComeAndGo) {
    const QString name = QStringLiteral("SerialPortConnectedDisconnected");
    std::atomic<int> delivered{0};
    std::atomic<bool> stop{false};
    QObject steady;
    center().addObserver(&steady, name, [&](const QVariant&) { ++delivered; });
    std::thread poster([&] {
        while (!stop)
            center().post(name, QVariant(true));
    });
    while (delivered == 0)
        std::this_thread::yield();
    for (int i = 0; i < 20000; ++i) {
        QObject transient;
        center().addObserver(&transient, name, [](const QVariant&) {});
        if (i % 2)
            center().removeObserver(&transient);
    }
    stop = true;
    poster.join();
    EXPECT_EQ(center().observerCount(name), 1);
    center().removeObserver(&steady);
}
