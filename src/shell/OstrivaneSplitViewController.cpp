#include "shell/OstrivaneSplitViewController.h"

#include "core/AppConstants.h"
#include "platform/Cover.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/Storyboard.h"
#include "platform/Transitions.h"
#include "shell/OstrivaneListViewController.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

OstrivaneSplitViewController::OstrivaneSplitViewController(QWidget* parent)
    : ViewController(parent) {
    // The sidebar keeps its own width whatever the screen beside it; the pane takes the rest.
    list_ = new OstrivaneListViewController(this);
    detailPane_ = new QWidget(this);
    auto* detailLayout = new QVBoxLayout(detailPane_);
    detailLayout->setContentsMargins(0, 0, 0, 0);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(list_);
    layout->addWidget(detailPane_, 1);

    connect(list_, &OstrivaneListViewController::rowSelected, this,
            &OstrivaneSplitViewController::rowSelected);
    NotificationCenter::defaultCenter().addObserver(
        this, AppConstants::Notifications::showWelcomeScreen,
        [this](const QVariant&) { MainQueue::async(this, [this] { showWelcomeScreen(); }); });

    showWelcomeScreen();
}

void OstrivaneSplitViewController::showDetailViewController(ViewController* viewController,
                                                            int index, bool doTransition) {
    if (!viewController)
        return;
    list_->selectRowSilently(index);
    // The keyboard stays where the user was: in the sidebar, or in the pane, which is new now.
    const QWidget* focus = window()->focusWidget();
    const bool focusInPane = detail_ && (focus == detail_ || detail_->isAncestorOf(focus));
    if (detail_) {
        // The old screen may be the one whose handler got us here: let that handler finish.
        detailPane_->layout()->removeWidget(detail_);
        detail_->hide();
        detail_->deleteLater();
    }
    detail_ = viewController;
    detailPane_->layout()->addWidget(viewController);
    viewController->loadViewIfNeeded();
    viewController->show();
    if (focusInPane) {
        QWidget* first = Cover::firstFocusable(viewController);
        (first ? first : viewController)->setFocus(Qt::OtherFocusReason);
    }
    if (doTransition)
        Transitions::push(viewController, TransitionDirection::fromRight);
}

void OstrivaneSplitViewController::showWelcomeScreen() {
    showDetailViewController(makeScene(AppConstants::Scenes::welcomeScreen),
                             OstrivaneListViewController::home, false);
}

void OstrivaneSplitViewController::rowSelected(int row) {
    switch (row) {
    case OstrivaneListViewController::home:
        showDetailViewController(makeScene(AppConstants::Scenes::welcomeScreen), row, true);
        break;
    case OstrivaneListViewController::help:
        showDetailViewController(makeScene(AppConstants::Scenes::helpViewController), row, true);
        break;
    default:
        break;
    }
}

ViewController* OstrivaneSplitViewController::makeScene(const QString& identifier) const {
    return Storyboard::main().instantiate(identifier).release();
}
