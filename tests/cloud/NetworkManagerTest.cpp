// The connectivity flag: how the system's reports count, and who is told of changes.
#include "cloud/NetworkManager.h"
#include "doubles/WaitFor.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using Reachability = QNetworkInformation::Reachability;

TEST(NetworkManagerTest, OnlyADefiniteDisconnectCountsAsOffline) {
    EXPECT_FALSE(NetworkManager::isConnectedFor(Reachability::Disconnected));
    EXPECT_TRUE(NetworkManager::isConnectedFor(Reachability::Online));
    EXPECT_TRUE(NetworkManager::isConnectedFor(Reachability::Local));
    EXPECT_TRUE(NetworkManager::isConnectedFor(Reachability::Site));
    EXPECT_TRUE(NetworkManager::isConnectedFor(Reachability::Unknown));
}

TEST(NetworkManagerTest, ChangesAreToldOnceOnTheMainThread) {
    NetworkManager& manager = NetworkManager::shared();
    manager.setConnected(true);
    QList<bool> told;
    QList<QThread*> threads;
    QObject receiver;
    QObject::connect(&manager, &NetworkManager::connectionChanged, &receiver, [&](bool c) {
        told.append(c);
        threads.append(QThread::currentThread());
    });

    manager.setConnected(true); // no change
    manager.setConnected(false);
    manager.setConnected(false); // no change
    EXPECT_FALSE(manager.isConnected());
    manager.setConnected(true);
    EXPECT_EQ(told, (QList<bool>{false, true}));

    // A change reported from another thread is told on the main thread.
    QThread* worker = QThread::create([&manager] { manager.setConnected(false); });
    worker->start();
    ASSERT_TRUE(worker->wait(5000));
    delete worker;
    EXPECT_FALSE(manager.isConnected());
    ASSERT_TRUE(waitFor([&] { return told.size() == 3; }));
    EXPECT_EQ(told.last(), false);
    for (QThread* thread : threads)
        EXPECT_EQ(thread, QCoreApplication::instance()->thread());
    manager.setConnected(true);
}

TEST(NetworkManagerTest, MonitoringFollowsTheSystemsReport) {
    NetworkManager& manager = NetworkManager::shared();
    manager.setConnected(false);
    if (!manager.startMonitoring()) {
        // No backend on this machine: the flag is left alone.
        EXPECT_FALSE(manager.isConnected());
    } else {
        ASSERT_NE(QNetworkInformation::instance(), nullptr);
        EXPECT_EQ(manager.isConnected(),
                  NetworkManager::isConnectedFor(QNetworkInformation::instance()->reachability()));
        manager.stopMonitoring();
    }
    manager.setConnected(true);
}

} // namespace
