#include "shell/FocusKeeper.h"

#include "platform/Cover.h"
#include "platform/FocusOrder.h"
#include "platform/MainQueue.h"
#include "platform/ViewController.h"
#include "shell/MainWindow.h"
#include "shell/OstrivaneSplitViewController.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

namespace {

// A pop-up button (a push button with its menu) steps to the item after or before the one its
// title names, as choosing that item would, and keeps the focus for the next key; at either
// end nothing changes.
void stepChoice(QPushButton* popUp, bool forward) {
    QList<QAction*> items;
    for (QAction* action : popUp->menu()->actions())
        if (!action->isSeparator() && action->isVisible() && action->isEnabled())
            items.append(action);
    qsizetype index = -1;
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items.at(i)->text() == popUp->text())
            index = i;
    const qsizetype step = index + (forward ? 1 : -1);
    if (step < 0 || step >= items.size())
        return;
    items.at(step)->trigger();
    popUp->setFocus(Qt::OtherFocusReason);
}

// An arrow key on a button, which would otherwise move the focus like Tab: whether it was
// taken here.
bool arrowKeyPressed(QWidget* control, const QKeyEvent& key) {
    if (!qobject_cast<QAbstractButton*>(control))
        return false;
    auto* popUp = qobject_cast<QPushButton*>(control);
    if (popUp && popUp->menu() && (key.key() == Qt::Key_Up || key.key() == Qt::Key_Down))
        stepChoice(popUp, key.key() == Qt::Key_Down);
    return true;
}

} // namespace

FocusKeeper::FocusKeeper(MainWindow* window) : QObject(window), window_(window) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
}

bool FocusKeeper::isScreen(const QWidget* widget) const {
    return qobject_cast<const ViewController*>(widget) && window_->isAncestorOf(widget);
}

QWidget* FocusKeeper::topScreen() const {
    ViewController* top = window_->splitViewController()->detailViewController();
    for (bool deeper = top != nullptr; deeper;) {
        deeper = false;
        // Embedded screens are kept in stacking order: the last shown one is on top.
        const QList<ViewController*> children = top->childViewControllers();
        for (auto child = children.crbegin(); child != children.crend(); ++child)
            if ((*child)->isVisible()) {
                top = *child;
                deeper = true;
                break;
            }
    }
    return top;
}

QList<QWidget*> FocusKeeper::tabOrder() const {
    QList<QWidget*> order = FocusOrder::readingOrder(window_->splitViewController());
    order.append(window_->logoutButton());
    return order;
}

QWidget* FocusKeeper::nextAfter(QWidget* from) const {
    QWidget* screen = window_->splitViewController()->detailViewController();
    if (screen && screen->isAncestorOf(from))
        return FocusOrder::next(FocusOrder::readingOrder(screen), from, true);
    return FocusOrder::next(tabOrder(), from, true);
}

bool FocusKeeper::sheetShown() const {
    for (QDialog* dialog : window_->findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
        if (dialog->isVisible() && dialog->isModal())
            return true;
    return false;
}

bool FocusKeeper::moveFocus(bool next) {
    QWidget* from = window_->focusWidget();
    QWidget* screen = window_->splitViewController()->detailViewController();
    // Qt moves the focus on by itself when the control that holds it goes out of use.
    if (from && !Cover::canTakeFocus(from) && !isScreen(from) && screen &&
        screen->isAncestorOf(from)) {
        QWidget* target = from->isVisible() ? nextAfter(from) : nullptr;
        if (target) {
            displaced_ = from;
            displacedTo_ = target;
            target->setFocus(Qt::OtherFocusReason);
        } else {
            // Its pane gave way to another: the control to take it is known once that is shown.
            topScreen()->setFocus(Qt::OtherFocusReason);
        }
        return true;
    }
    if (QWidget* target = FocusOrder::next(tabOrder(), from, next)) {
        target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    // Nothing can take it now (a run keeps the window locked): the screen holds it meanwhile.
    if (QWidget* top = topScreen(); top && from != top) {
        top->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

void FocusKeeper::focusChanged(QWidget* now) {
    if (control_)
        control_->removeEventFilter(this);
    control_ = nullptr;
    if (!now)
        return;
    const QWidget* nowWindow = now->window();
    if (nowWindow != window_) {
        const QWidget* owner = nowWindow->parentWidget();
        if (!sheetHasFocus_ && owner && owner->window() == window_) {
            sheetHasFocus_ = true;
            QWidget* had = window_->focusWidget();
            returnAfterSheet_ = displaced_ && had == displacedTo_ ? displaced_.data() : had;
        }
        return;
    }
    if (std::exchange(sheetHasFocus_, false)) {
        // A screen that held the focus before the sheet has it placed as below.
        QWidget* back = std::exchange(returnAfterSheet_, nullptr);
        if (back && !isScreen(back) && !Cover::canTakeFocus(back))
            back = nextAfter(back);
        if (back && back != now && !isScreen(back)) {
            back->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (now != displacedTo_)
        displaced_ = nullptr;
    if (isScreen(now)) {
        scheduleLanding();
        return;
    }
    setWaiting(false);
    control_ = now;
    control_->installEventFilter(this);
}

void FocusKeeper::scheduleLanding() {
    if (std::exchange(landingScheduled_, true))
        return;
    MainQueue::async(this, [this] {
        landingScheduled_ = false;
        land();
    });
}

void FocusKeeper::land() {
    if (!isScreen(window_->focusWidget())) {
        setWaiting(false);
        return;
    }
    // Under a sheet the focus is placed once the sheet has closed.
    if (sheetShown())
        return;
    QWidget* target = FocusOrder::next(FocusOrder::readingOrder(topScreen()), nullptr, true);
    if (!target)
        target = FocusOrder::next(tabOrder(), nullptr, true);
    setWaiting(target == nullptr);
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

void FocusKeeper::setWaiting(bool waiting) {
    if (waiting == std::exchange(waiting_, waiting))
        return;
    if (waiting)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool FocusKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == control_ && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        switch (key.key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (arrowKeyPressed(control_, key))
                return true;
            break;
        default:
            break;
        }
    } else if (waiting_ && watched->isWidgetType() &&
               (event->type() == QEvent::Show || event->type() == QEvent::EnabledChange) &&
               window_->isAncestorOf(static_cast<QWidget*>(watched))) {
        scheduleLanding();
    }
    return QObject::eventFilter(watched, event);
}
