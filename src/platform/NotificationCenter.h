#pragma once

#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

// Process-wide notification centre: string names, an optional object, synchronous delivery in
// the posting thread. An observer is a QObject; its registrations end when it is destroyed or
// removed, including while a notification is being delivered. The registrations may be
// changed and posted to from any thread; handlers run without any lock held.
class NotificationCenter {
public:
    using Handler = std::function<void(const QVariant& object)>;

    static NotificationCenter& defaultCenter();

    void addObserver(QObject* observer, const QString& name, Handler handler);
    void post(const QString& name, const QVariant& object = {});
    void removeObserver(QObject* observer);
    void removeObserver(QObject* observer, const QString& name);

    // Number of live registrations for a name; for diagnostics and tests.
    int observerCount(const QString& name) const;

private:
    struct Entry {
        quint64 id;
        QPointer<QObject> observer;
        QString name;
        Handler handler;
    };
    bool isRegistered(quint64 id) const;

    mutable QMutex mutex_;
    QList<Entry> entries_;
    quint64 nextId_ = 1;
};
