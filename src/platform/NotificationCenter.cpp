#include "platform/NotificationCenter.h"

#include <QMutexLocker>

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(QObject* observer, const QString& name, Handler handler) {
    if (!observer || !handler)
        return;
    QMutexLocker lock(&mutex_);
    entries_.append(Entry{nextId_++, QPointer<QObject>(observer), name, std::move(handler)});
}

void NotificationCenter::post(const QString& name, const QVariant& object) {
    // Snapshot the matching registrations: handlers may add or remove observers while we
    // deliver. A registration removed meanwhile is skipped.
    QList<Entry> matching;
    {
        QMutexLocker lock(&mutex_);
        for (const Entry& entry : std::as_const(entries_)) {
            if (entry.name == name && entry.observer)
                matching.append(entry);
        }
    }
    for (const Entry& entry : std::as_const(matching)) {
        if (entry.observer && isRegistered(entry.id))
            entry.handler(object);
    }
    QMutexLocker lock(&mutex_);
    entries_.removeIf([](const Entry& entry) { return entry.observer.isNull(); });
}

void NotificationCenter::removeObserver(QObject* observer) {
    QMutexLocker lock(&mutex_);
    entries_.removeIf([observer](const Entry& entry) {
        return entry.observer.isNull() || entry.observer.data() == observer;
    });
}

void NotificationCenter::removeObserver(QObject* observer, const QString& name) {
    QMutexLocker lock(&mutex_);
    entries_.removeIf([observer, &name](const Entry& entry) {
        return entry.observer.isNull() || (entry.observer.data() == observer && entry.name == name);
    });
}

int NotificationCenter::observerCount(const QString& name) const {
    QMutexLocker lock(&mutex_);
    return static_cast<int>(
        std::count_if(entries_.begin(), entries_.end(),
                      [&name](const Entry& e) { return e.name == name && !e.observer.isNull(); }));
}

bool NotificationCenter::isRegistered(quint64 id) const {
    QMutexLocker lock(&mutex_);
    return std::any_of(entries_.begin(), entries_.end(),
                       [id](const Entry& entry) { return entry.id == id; });
}
