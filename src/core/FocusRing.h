#pragma once

#include <QObject>
#include <QPointer>

class QFocusFrame;
class QStyle;
class QWidget;

// A 2-pixel ring around whichever control of the window (or of a sheet over it) has the
// keyboard focus, clear of the control by a small gap and rounded as the control is: the
// platform's own marks (a caret, a faint outline, a slightly darker edge) are easily missed.
// It lies outside the control, so it never covers what the control shows.
class FocusRing : public QObject {
    Q_OBJECT
public:
    explicit FocusRing(QWidget* window);

    // The ring goes around `outline` while `control` has the focus: a control that is one stop
    // with the widgets beside it (a choice's mark and its text) is ringed with them.
    static void setOutline(QWidget* control, QWidget* outline);

private:
    void follow(QWidget* focus);

    QWidget* window_;
    QStyle* ringStyle_;
    // Moves into whichever window or scroll area shows the control, and goes with it.
    QPointer<QFocusFrame> ring_;
};
