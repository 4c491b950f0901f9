#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// A 2-pixel ring over the edge of whichever control of the window has the keyboard focus, as
// clear as the one the rounded buttons draw themselves: the platform's own marks (a caret, a
// faint outline, a slightly darker edge) are easily missed.
class FocusRing : public QObject {
    Q_OBJECT
public:
    explicit FocusRing(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget* focus);

    QWidget* window_;
    QPointer<QWidget> control_;
    // Lives inside the control so that it moves, scrolls and goes with it.
    QPointer<QWidget> ring_;
};
