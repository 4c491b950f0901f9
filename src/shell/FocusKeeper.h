#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class MainWindow;
class QWidget;

// Keeps the main window's keyboard focus on a control that the user sees and can leave.
// - Tab and Shift+Tab read the sidebar, the screen and Log Out, whatever the screen shows.
// - A control that goes out of use while it holds the focus hands it on within the screen: one
//   that is disabled (busy with its work) to the screen's next control; one that is hidden (its
//   pane gave way to another), or one with no other control in the screen, to the screen itself.
// - Focus that rests on a screen rather than on a control (a new screen took it, or its control
//   went) moves, once the event at hand is handled, to the first control of the screen on top,
//   or to the window's first one, the sidebar, when that screen has none. While no control can
//   take it, it waits on the screen for the first one that comes into use.
// - When a sheet over the window closes, the focus goes back to the control that had it as the
//   sheet came (also when that control had just given it away by disabling itself), or, when
//   that control is now out of use, to the next one in the screen.
// - Arrow keys on a button never move the focus: a pop-up button changes its choice with Up and
//   Down, other buttons ignore them.
class FocusKeeper : public QObject {
    Q_OBJECT
public:
    explicit FocusKeeper(MainWindow* window);

    // The window's focusNextPrevChild(): Tab, Shift+Tab, and Qt taking the focus off a control
    // that went out of use. Returns whether the focus was placed.
    bool moveFocus(bool next);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusChanged(QWidget* now);
    // Whether the widget is one of the window's screens (which hold the focus only for a while).
    bool isScreen(const QWidget* widget) const;
    // The innermost screen that the detail pane shows.
    QWidget* topScreen() const;
    QList<QWidget*> tabOrder() const;
    // The control after `from`: within the screen when `from` is in it, else in the window.
    QWidget* nextAfter(QWidget* from) const;
    bool sheetShown() const;
    void scheduleLanding();
    void land();
    void setWaiting(bool waiting);

    MainWindow* window_;
    // The control with the focus, whose keys are watched.
    QPointer<QWidget> control_;
    // The control that disabled itself while it held the focus, and the one given it instead.
    QPointer<QWidget> displaced_;
    QPointer<QWidget> displacedTo_;
    // Set while a sheet over the window has the focus: the control to take it back after.
    bool sheetHasFocus_ = false;
    QPointer<QWidget> returnAfterSheet_;
    bool landingScheduled_ = false;
    // The focus rests on a screen until a control there (or the sidebar) comes into use.
    bool waiting_ = false;
};
