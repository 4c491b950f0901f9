#include "doubles/WaitFor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace {
// One slice of the event loop, waking at least every few milliseconds to re-check.
void runSlice(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        runSlice(5);
    }
    return true;
}

void spinFor(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired())
        runSlice(
            static_cast<int>(std::max<qint64>(1, std::min<qint64>(5, deadline.remainingTime()))));
}
