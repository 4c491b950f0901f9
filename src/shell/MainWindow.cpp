#include "shell/MainWindow.h"

#include "core/AppConstants.h"
#include "core/FocusRing.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/ReturnKey.h"
#include "shell/FocusKeeper.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "shell/OstrivaneSplitViewController.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSizePolicy>
#include <QToolBar>
#include <QWindow>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(tr("Ostrivane Pellory"));
    // Every screen and sheet fits at this size; a screen asks for no more, so the window
    // keeps its size from screen to screen.
    setMinimumSize(minimumWindowSize);
    // On a smaller screen it takes the room there is, so that no control lies off-screen.
    QSize size = preferredWindowSize;
    if (const QScreen* shownOn = screen())
        size = size.boundedTo(shownOn->availableGeometry().size());
    resize(size.expandedTo(minimumWindowSize));
    split_ = new OstrivaneSplitViewController(this);
    setCentralWidget(split_);

    auto* toolBar = addToolBar(tr("Account"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->toggleViewAction()->setVisible(false);
    auto* spacer = new QWidget(toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(spacer);
    logoutButton_ = new QPushButton(tr("Log Out"), toolBar);
    toolBar->addWidget(logoutButton_);
    connect(logoutButton_, &QPushButton::clicked, this, &MainWindow::logoutButtonClicked);
    new FocusRing(this);
    focusKeeper_ = new FocusKeeper(this);

    NotificationCenter::defaultCenter().addObserver(
        this, AppConstants::Notifications::enableDisableLogoutButtons,
        [this](const QVariant& object) {
            if (!object.isValid() || !object.canConvert<bool>())
                return;
            const bool enabled = object.toBool();
            MainQueue::async(this, [this, enabled] { logoutButton_->setEnabled(enabled); });
        });
}

MainWindow::~MainWindow() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

MainWindow* MainWindow::of(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* window = qobject_cast<MainWindow*>(w))
            return window;
    }
    MainWindow* only = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<MainWindow*>(top)) {
            if (only)
                return nullptr;
            only = window;
        }
    }
    return only;
}

void MainWindow::setCloseButtonEnabled(bool enabled) {
    closeButtonEnabled_ = enabled;
    // Only the hint changes. setWindowFlag() would hide the window (and any sheet over it)
    // to re-create it; the native window takes the new hint as it stands.
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowCloseButtonHint, enabled);
    overrideWindowFlags(flags);
    if (QWindow* native = windowHandle())
        native->setFlags(flags);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!closeButtonEnabled_) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::logoutButtonClicked() {
    // Signing in is not part of this application: logging out forgets the user's state and
    // starts again from the welcome screen.
    OstrivaneCustomAlertView::resetGlobalVariables();
    split_->showWelcomeScreen();
}

bool MainWindow::focusNextPrevChild(bool next) {
    return focusKeeper_->moveFocus(next);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (!ReturnKey::pressFocusedButton(this, event))
        QMainWindow::keyPressEvent(event);
}
