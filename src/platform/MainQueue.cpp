#include "platform/MainQueue.h"

#include "platform/TimeScale.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace {
QObject* mainContext() {
    return QCoreApplication::instance();
}
} // namespace

bool MainQueue::isMainThread() {
    return QCoreApplication::instance() &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

void MainQueue::async(std::function<void()> fn) {
    if (QObject* app = mainContext())
        QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

void MainQueue::async(QObject* context, std::function<void()> fn) {
    QPointer<QObject> guard(context);
    async([guard, fn = std::move(fn)] {
        if (guard)
            fn();
    });
}

void MainQueue::asyncAfter(double seconds, std::function<void()> fn) {
    const int ms = TimeScale::milliseconds(seconds);
    // Qt makes single shots of two seconds or more coarse timers, which may fire up to 5%
    // early; a delay here is never shorter than asked.
    if (isMainThread()) {
        QTimer::singleShot(ms, Qt::PreciseTimer, mainContext(), std::move(fn));
        return;
    }
    // Timers belong to the thread that starts them, so start it on the main thread, with what
    // is left of the delay by then: it counts from this call, however long the main thread
    // takes to pick the call up. (The clock counts whole milliseconds down, so what is left is
    // never less than what is due.)
    QElapsedTimer sinceCall;
    sinceCall.start();
    async([ms, sinceCall, fn = std::move(fn)] {
        if (QObject* app = mainContext()) {
            const qint64 left = std::max<qint64>(0, ms - sinceCall.elapsed());
            QTimer::singleShot(std::chrono::milliseconds(left), Qt::PreciseTimer, app, fn);
        }
    });
}

void MainQueue::asyncAfter(double seconds, QObject* context, std::function<void()> fn) {
    QPointer<QObject> guard(context);
    asyncAfter(seconds, [guard, fn = std::move(fn)] {
        if (guard)
            fn();
    });
}
