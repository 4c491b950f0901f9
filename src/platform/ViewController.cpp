#include "platform/ViewController.h"

#include "platform/Cover.h"
#include "platform/EdgePin.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/SheetDialog.h"

#include <QDialog>
#include <QShowEvent>

ViewController::ViewController(QWidget* parent) : QWidget(parent) {}

ViewController::~ViewController() {
    destroying_ = true;
    // The child screens go in ~QWidget, once this object is no longer a ViewController: from
    // then on they must not reach back into it.
    for (ViewController* child : childViewControllers())
        child->parentViewController_ = nullptr;
    NotificationCenter::defaultCenter().removeObserver(this);
    // A child deleted without removeFromParent() still gives back what it covered, unless its
    // parent is going as well.
    if (ViewController* parent = parentViewController_; parent && !parent->destroying_)
        parent->updateCover(this, holdsFocus());
}

void ViewController::loadViewIfNeeded() {
    if (viewLoaded_)
        return;
    viewLoaded_ = true; // set first: whatever viewDidLoad shows must not load again
    viewDidLoad();
}

void ViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Windows that come back from being minimised get spontaneous show events; they did not
    // (dis)appear as far as the screen is concerned.
    if (event->spontaneous())
        return;
    loadViewIfNeeded();
    viewWillAppear();
    const quint64 appearance = ++appearance_;
    MainQueue::async(this, [this, appearance] {
        if (appearance == appearance_ && isVisible())
            viewDidAppear();
    });
}

void ViewController::addChild(ViewController* child) {
    if (!child || child == this || child->parentViewController_ == this)
        return;
    child->detachFromParent();
    child->setParent(this);
    child->parentViewController_ = this;
    child->edgePin_ = new EdgePin(child, this);
    // It covers this screen: paint its background so nothing beneath shows through.
    child->setAutoFillBackground(true);
    child->loadViewIfNeeded();
    child->raise();
    child->show();
    updateCover(nullptr, false);
}

void ViewController::removeFromParent() {
    ViewController* parent = parentViewController_;
    if (!parent)
        return;
    const bool hadFocus = holdsFocus();
    detachFromParent();
    hide();
    setParent(nullptr);
    deleteLater();
    parent->updateCover(this, hadFocus);
}

bool ViewController::holdsFocus() const {
    const QWidget* focus = window()->focusWidget();
    return focus == this || isAncestorOf(focus);
}

ViewController* ViewController::topChild(const ViewController* leaving) const {
    // Children are kept in stacking order: the last one is on top.
    ViewController* top = nullptr;
    for (ViewController* child : findChildren<ViewController*>(Qt::FindDirectChildrenOnly)) {
        if (child != leaving && child->parentViewController_ == this)
            top = child;
    }
    return top;
}

void ViewController::updateCover(const ViewController* leaving, bool focusWasInLeaving) {
    ViewController* top = topChild(leaving);
    QList<QPointer<QWidget>> under;
    if (top) {
        for (QWidget* widget : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (widget != top && widget != leaving && !widget->isWindow())
                under.append(widget);
        }
    }
    for (const QPointer<QWidget>& widget : std::as_const(covered_)) {
        if (widget && widget != leaving && !under.contains(widget))
            Cover::uncover(widget);
    }
    const bool newTop = top && top != coveringChild_;
    if (newTop && !coveringChild_) {
        const QPointer<QWidget> focus = window()->focusWidget();
        focusBeforeCover_ = isAncestorOf(focus) ? focus : nullptr;
    }
    // Covered before the child takes the focus, so the focus cannot land on a covered control.
    for (const QPointer<QWidget>& widget : std::as_const(under)) {
        if (!covered_.contains(widget))
            Cover::cover(widget);
    }
    if (newTop)
        top->setFocus(Qt::OtherFocusReason);
    covered_ = under;
    updateGeometry();
    const bool uncovered = coveringChild_ && !top;
    coveringChild_ = top;
    // The screen that embedded the child may still be changing what it shows (the quiz's
    // removal switches panes): the focus is placed once that is done.
    if (uncovered && focusWasInLeaving)
        MainQueue::async(this, [this] { restoreFocus(); });
}

void ViewController::restoreFocus() {
    if (coveringChild_)
        return;
    QWidget* target = Cover::canTakeFocus(focusBeforeCover_) ? focusBeforeCover_.data()
                                                             : Cover::firstFocusable(this);
    focusBeforeCover_ = nullptr;
    if (target)
        target->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

void ViewController::detachFromParent() {
    delete edgePin_;
    edgePin_ = nullptr;
    parentViewController_ = nullptr;
}

QList<ViewController*> ViewController::childViewControllers() const {
    QList<ViewController*> result;
    for (ViewController* child : findChildren<ViewController*>(Qt::FindDirectChildrenOnly)) {
        if (child->parentViewController_ == this)
            result.append(child);
    }
    return result;
}

QSize ViewController::sizeHint() const {
    const ViewController* top = topChild(nullptr);
    return top ? QWidget::sizeHint().expandedTo(top->sizeHint()) : QWidget::sizeHint();
}

QSize ViewController::minimumSizeHint() const {
    const ViewController* top = topChild(nullptr);
    return top ? QWidget::minimumSizeHint().expandedTo(top->minimumSizeHint())
               : QWidget::minimumSizeHint();
}

QWidget* ViewController::viewWindow() const {
    QWidget* top = window();
    return top->isVisible() ? top : nullptr;
}

bool ViewController::presentAsSheet(ViewController* sheet) {
    if (!sheet)
        return false;
    QWidget* host = viewWindow();
    if (!host) {
        sheet->deleteLater();
        return false;
    }
    auto* dialog = new SheetDialog(host, sheet);
    sheet->loadViewIfNeeded();
    dialog->open();
    return true;
}

void ViewController::dismiss() {
    if (auto* dialog = qobject_cast<SheetDialog*>(parentWidget()))
        dialog->dismissSheet();
}

bool ViewController::isPresentedAsSheet() const {
    return qobject_cast<SheetDialog*>(parentWidget()) != nullptr;
}

QDialog* ViewController::attachedSheet() const {
    const QWidget* top = window();
    for (QDialog* dialog : top->findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
        if (dialog->isVisible() && dialog->windowModality() != Qt::NonModal)
            return dialog;
    }
    return nullptr;
}
