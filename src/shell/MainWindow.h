#pragma once

#include <QMainWindow>
#include <QSize>

class FocusKeeper;
class OstrivaneSplitViewController;
class QCloseEvent;
class QKeyEvent;
class QPushButton;

// The application's one window: the split view, a log-out button in the tool bar, and a
// close button that screens disable while a transfer runs (closing is refused meanwhile).
// The keyboard works the same on every screen: Tab reads the sidebar, then the screen top to
// bottom and left to right, then Log Out; Return and Enter press the focused push button as
// Space does; and the focus stays on a control that the user sees (FocusKeeper).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize minimumWindowSize{800, 600};
    // The size it opens at where the screen has room for it.
    static constexpr QSize preferredWindowSize{960, 640};

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The main window that shows the widget (also from inside a sheet over it); without one,
    // the application's main window when there is exactly one.
    static MainWindow* of(QWidget* widget);

    OstrivaneSplitViewController* splitViewController() const { return split_; }
    QPushButton* logoutButton() const { return logoutButton_; }

    void setCloseButtonEnabled(bool enabled);
    bool isCloseButtonEnabled() const { return closeButtonEnabled_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void logoutButtonClicked();

    OstrivaneSplitViewController* split_;
    QPushButton* logoutButton_;
    FocusKeeper* focusKeeper_;
    bool closeButtonEnabled_ = true;
};
