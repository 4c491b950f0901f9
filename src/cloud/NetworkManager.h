#pragma once

#include <QNetworkInformation>
#include <QObject>

#include <atomic>

// Whether the computer is connected. True at launch; once monitoring has started it follows
// the system's reachability. Without a reachability backend, or while the system does not
// know, the computer counts as connected: a false "offline" would stop the user outright,
// while a false "online" only ends in a request error.
class NetworkManager : public QObject {
    Q_OBJECT
public:
    static NetworkManager& shared();

    // Readable on any thread.
    bool isConnected() const { return connected_.load(); }

    // Loads the system's reachability backend and follows it from now on. Returns false when
    // no backend could be loaded (the flag then stays as it is).
    bool startMonitoring();
    // Stops following the backend; the flag stays as it is.
    void stopMonitoring();

    // Sets the flag and tells of the change when it is one. Used by the reachability backend
    // and by tests.
    void setConnected(bool connected);

    // How a reachability report counts.
    static bool isConnectedFor(QNetworkInformation::Reachability reachability);

signals:
    // Emitted on the main thread whenever the flag changes.
    void connectionChanged(bool isConnected);

private:
    NetworkManager();

    std::atomic<bool> connected_{true};
    QMetaObject::Connection monitoring_;
};
