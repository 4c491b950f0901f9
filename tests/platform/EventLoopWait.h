#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

// Runs the event loop until the condition holds or the time is up; returns the condition.
template <class Condition> bool waitUntil(Condition condition, int timeoutMs = 2000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop for a while, for checks that something does not happen.
inline void spinEventLoop(int ms = 50) {
    waitUntil([] { return false; }, ms);
}
