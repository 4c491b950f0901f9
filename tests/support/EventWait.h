#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Bounded waits on the event loop: nothing here can hang a test.
namespace EventWait {

// Runs the event loop until the condition holds or the time is up; returns the condition.
inline bool until(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            return condition();
        QEventLoop loop;
        QTimer::singleShot(std::min<qint64>(left, 5), &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Runs the event loop for the given time.
inline void spin(int ms) {
    until([] { return false; }, ms);
}

} // namespace EventWait
