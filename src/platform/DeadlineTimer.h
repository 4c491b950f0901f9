#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>
#include <memory>

// A single-shot timer that fires once a point of the monotonic clock has passed, never
// before it. A QTimer wakes its thread only on whole milliseconds, so it usually fires most
// of a millisecond late; where the system offers a timer file (Linux), this one is woken by
// it within microseconds. Elsewhere it falls back on a QTimer.
class DeadlineTimer : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    explicit DeadlineTimer(QObject* parent = nullptr);
    ~DeadlineTimer() override;

    // Fires timeout once, at or after due; replaces a pending due.
    void startAt(Clock::time_point due);
    void stop();
    bool isActive() const { return active_; }

signals:
    void timeout();

private:
    void wake();
    void arm();

    Clock::time_point due_{};
    bool active_ = false;
    int fd_ = -1; // the timer file, where there is one
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer fallback_;
};
