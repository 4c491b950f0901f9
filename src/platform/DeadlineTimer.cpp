#include "platform/DeadlineTimer.h"

#include <algorithm>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#endif

DeadlineTimer::DeadlineTimer(QObject* parent) : QObject(parent) {
    fallback_.setSingleShot(true);
    fallback_.setTimerType(Qt::PreciseTimer);
    connect(&fallback_, &QTimer::timeout, this, &DeadlineTimer::wake);
#ifdef Q_OS_LINUX
    // The standard library's steady clock is CLOCK_MONOTONIC here.
    fd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
            std::uint64_t expirations = 0;
            while (::read(fd_, &expirations, sizeof expirations) < 0 && errno == EINTR) {
            }
            wake();
        });
    }
#endif
}

DeadlineTimer::~DeadlineTimer() {
    notifier_.reset();
#ifdef Q_OS_LINUX
    if (fd_ >= 0)
        ::close(fd_);
#endif
}

void DeadlineTimer::startAt(Clock::time_point due) {
    due_ = due;
    active_ = true;
    arm();
}

void DeadlineTimer::stop() {
    active_ = false;
    fallback_.stop();
#ifdef Q_OS_LINUX
    if (fd_ >= 0) {
        const itimerspec off{};
        ::timerfd_settime(fd_, 0, &off, nullptr);
    }
#endif
}

void DeadlineTimer::arm() {
#ifdef Q_OS_LINUX
    if (fd_ >= 0) {
        const auto ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(due_.time_since_epoch()).count();
        itimerspec at{};
        // Zero would disarm the timer: a due already passed still fires at once.
        at.it_value.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
        at.it_value.tv_nsec = static_cast<long>(std::max<long long>(ns % 1'000'000'000, 1));
        if (::timerfd_settime(fd_, TFD_TIMER_ABSTIME, &at, nullptr) == 0)
            return;
    }
#endif
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(due_ - Clock::now());
    fallback_.start(static_cast<int>(std::max<long long>(0, left.count())));
}

void DeadlineTimer::wake() {
    if (!active_)
        return;
    // A timer woken a moment early is sent back to sleep for the rest.
    if (Clock::now() < due_) {
        arm();
        return;
    }
    active_ = false;
    emit timeout();
}
