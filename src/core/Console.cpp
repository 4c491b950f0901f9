#include "core/Console.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QTimer>

#include <cstdio>
#include <utility>

namespace {

// Lines are flushed together, this long after the first of a burst: a large log prints a line
// for every piece read from the port, and a write to the terminal or file for each would cost
// more than all the rest of its handling.
constexpr int flushDelayMs = 50;

QMutex mutex;
bool flushScheduled = false;

void flush() {
    QMutexLocker lock(&mutex);
    std::fflush(stdout);
    flushScheduled = false;
}

} // namespace

void Console::print(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    QMutexLocker lock(&mutex);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        std::fflush(stdout);
        return;
    }
    if (std::exchange(flushScheduled, true))
        return;
    // The timer belongs to the main thread, whichever thread printed.
    QMetaObject::invokeMethod(
        app, [] { QTimer::singleShot(flushDelayMs, QCoreApplication::instance(), flush); },
        Qt::QueuedConnection);
}
