#include "platform/MainQueue.h"

#include "platform/TimeScale.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>

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
    // Timers belong to the thread that starts them, so start it on the main thread.
    async([ms, fn = std::move(fn)] {
        if (QObject* app = mainContext())
            QTimer::singleShot(ms, Qt::PreciseTimer, app, fn);
    });
}

void MainQueue::asyncAfter(double seconds, QObject* context, std::function<void()> fn) {
    QPointer<QObject> guard(context);
    asyncAfter(seconds, [guard, fn = std::move(fn)] {
        if (guard)
            fn();
    });
}
