#pragma once

#include "platform/ViewController.h"

#include <QPointer>

class OstrivaneListViewController;

// The main window's content: the sidebar on the left and the detail pane that its rows
// choose. "Home" shows a new welcome screen, "Help" a new help screen, each time they are
// chosen. "ShowWelcomeScreen" brings the welcome screen back from anywhere.
class OstrivaneSplitViewController : public ViewController {
    Q_OBJECT
public:
    explicit OstrivaneSplitViewController(QWidget* parent = nullptr);

    OstrivaneListViewController* listViewController() const { return list_; }
    // The screen the detail pane shows, or nullptr.
    ViewController* detailViewController() const { return detail_; }

    // Makes the screen the detail pane (taking ownership; the previous one goes), marks the
    // sidebar row, and slides it in from the right when asked to.
    void showDetailViewController(ViewController* viewController, int index, bool doTransition);
    // A new welcome screen, with "Home" selected.
    void showWelcomeScreen();

private:
    void rowSelected(int row);
    // A new screen of the scene; nullptr when the scene is unknown.
    ViewController* makeScene(const QString& identifier) const;

    OstrivaneListViewController* list_;
    QWidget* detailPane_;
    QPointer<ViewController> detail_;
};
