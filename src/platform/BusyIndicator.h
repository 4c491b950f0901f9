#pragma once

#include <QBasicTimer>
#include <QList>
#include <QPixmap>
#include <QWidget>

// The indeterminate spinner: a small ring of dots whose bright head steps round it, with a
// fading tail, so it reads as "working" at a glance and is not mistaken for a second progress
// bar. It is cheap to keep alive for a long wait: it moves a few steps a second, repaints only
// itself from pictures drawn once, and its timer runs only while it is animating and
// visible.
class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    static constexpr int dotCount = 8;
    static constexpr int stepsPerSecond = 8;

    explicit BusyIndicator(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return animating_; }
    // Whether it is stepping right now: animating and visible.
    bool isTicking() const { return timer_.isActive(); }
    // The dot the head is on; advances by one per step.
    int step() const { return step_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void updateTimer();
    QPixmap drawFrame(int head, QColor colour, qreal ratio) const;

    QBasicTimer timer_;
    bool animating_ = false;
    int step_ = 0;
    QList<QPixmap> frames_; // one picture per position of the head
    QSize frameSize_;
    qreal frameRatio_ = 0;
    QColor frameColour_;
};
