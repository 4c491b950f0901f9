#include "core/FocusRing.h"

#include "core/Extensions.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace {

class Ring : public QWidget {
public:
    explicit Ring(QWidget* control) : QWidget(control) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Extensions::focusRingColor(), 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
};

} // namespace

FocusRing::FocusRing(QWidget* window) : QObject(window), window_(window) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusRing::follow(QWidget* focus) {
    if (control_)
        control_->removeEventFilter(this);
    const bool wanted = focus && focus->window() == window_ &&
                        focus->focusPolicy() != Qt::NoFocus &&
                        !Extensions::drawsOwnFocusRing(focus);
    control_ = wanted ? focus : nullptr;
    if (!control_) {
        if (ring_)
            ring_->hide();
        return;
    }
    if (ring_)
        ring_->setParent(control_);
    else
        ring_ = new Ring(control_);
    control_->installEventFilter(this);
    ring_->setGeometry(control_->rect());
    ring_->raise();
    ring_->show();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    // A child added later (a scroll area's content) would otherwise cover the ring.
    if (watched == control_ && ring_) {
        if (event->type() == QEvent::Resize)
            ring_->setGeometry(control_->rect());
        else if (event->type() == QEvent::ChildAdded)
            ring_->raise();
    }
    return QObject::eventFilter(watched, event);
}
