#include "core/PendingWrites.h"

#include "core/AppConstants.h"
#include "core/Console.h"
#include "core/Logger.h"
#include "platform/TimeScale.h"

#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace {

struct Waiting {
    const void* owner;
    QString file;
    PendingWrites::Write write;
};

// Never destroyed: a store may stop waiting in its own destructor, after main() has returned.
QList<Waiting>& list() {
    static auto* waiting = new QList<Waiting>;
    return *waiting;
}

// The failures each try ended in, by file.
using Failures = QList<std::pair<QString, QString>>;

// Tries each waiting store once; one that succeeds waits no more. A store written meanwhile by
// another store's try is not tried again.
Failures tryAll() {
    Failures failures;
    const QList<Waiting> waiting = list();
    for (const Waiting& store : waiting) {
        const bool stillWaits = std::any_of(list().cbegin(), list().cend(), [&](const Waiting& w) {
            return w.owner == store.owner;
        });
        if (!stillWaits)
            continue;
        if (const QString error = store.write(); !error.isEmpty())
            failures.append({store.file, error});
        else
            PendingWrites::written(store.owner);
    }
    return failures;
}

// Runs the tries while anything waits; made when first needed, on the main thread. Held where
// a store's destructor after main() can still ask for it: it is gone with the application.
QTimer* retryTimer() {
    static auto* timer = new QPointer<QTimer>;
    if (!*timer && QCoreApplication::instance()) {
        *timer = new QTimer(QCoreApplication::instance());
        QObject::connect(*timer, &QTimer::timeout, *timer, [] { tryAll(); });
    }
    return *timer;
}

void updateTimer() {
    QTimer* timer = retryTimer();
    if (!timer)
        return;
    if (list().isEmpty()) {
        timer->stop();
    } else if (!timer->isActive()) {
        timer->start(TimeScale::milliseconds(PendingWrites::retrySeconds));
    }
}

} // namespace

void PendingWrites::waiting(const void* owner, const QString& file, Write write) {
    for (Waiting& store : list()) {
        if (store.owner == owner) {
            store = {owner, file, std::move(write)};
            return;
        }
    }
    list().append({owner, file, std::move(write)});
    updateTimer();
}

void PendingWrites::written(const void* owner) {
    list().removeIf([owner](const Waiting& store) { return store.owner == owner; });
    updateTimer();
}

bool PendingWrites::writeAllAtQuit() {
    const Failures failures = tryAll();
    for (const auto& [file, error] : failures) {
        const QString line =
            AppConstants::SavedFiles::notSavedAtQuit + file + QStringLiteral(": ") + error;
        Console::print(line);
        Logger::log(LOG_PREFIX_FN("writeAllAtQuit()") + AppConstants::DebugLog::errorLabel + line);
    }
    return failures.isEmpty();
}
