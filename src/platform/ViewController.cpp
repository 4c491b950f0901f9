#include "platform/ViewController.h"

#include "platform/EdgePin.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/SheetDialog.h"

#include <QDialog>
#include <QShowEvent>

ViewController::ViewController(QWidget* parent) : QWidget(parent) {}

ViewController::~ViewController() {
    NotificationCenter::defaultCenter().removeObserver(this);
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
}

void ViewController::removeFromParent() {
    if (!parentViewController_)
        return;
    detachFromParent();
    hide();
    setParent(nullptr);
    deleteLater();
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
