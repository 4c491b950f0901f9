#include "cloud/NetworkManager.h"

#include "platform/MainQueue.h"

#include <QCoreApplication>

NetworkManager& NetworkManager::shared() {
    static NetworkManager* instance = [] {
        auto* manager = new NetworkManager;
        // Signals are delivered on the main thread, whoever asked first.
        if (QCoreApplication::instance())
            manager->moveToThread(QCoreApplication::instance()->thread());
        return manager;
    }();
    return *instance;
}

NetworkManager::NetworkManager() = default;

bool NetworkManager::isConnectedFor(QNetworkInformation::Reachability reachability) {
    // Only a definite "disconnected" counts as offline; a local-only or site-only network
    // may still reach the cloud, and the system may simply not know.
    return reachability != QNetworkInformation::Reachability::Disconnected;
}

bool NetworkManager::startMonitoring() {
    if (monitoring_)
        return true;
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return false;
    QNetworkInformation* info = QNetworkInformation::instance();
    if (!info)
        return false;
    monitoring_ = connect(info, &QNetworkInformation::reachabilityChanged, this,
                          [this](QNetworkInformation::Reachability reachability) {
                              setConnected(isConnectedFor(reachability));
                          });
    setConnected(isConnectedFor(info->reachability()));
    return true;
}

void NetworkManager::setConnected(bool connected) {
    if (connected_.exchange(connected) == connected)
        return;
    if (MainQueue::isMainThread()) {
        emit connectionChanged(connected);
        return;
    }
    MainQueue::async(this, [this, connected] { emit connectionChanged(connected); });
}

void NetworkManager::stopMonitoring() {
    disconnect(monitoring_);
    monitoring_ = {};
}
