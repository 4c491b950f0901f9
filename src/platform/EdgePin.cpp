#include "platform/EdgePin.h"

#include <QEvent>

EdgePin::EdgePin(QWidget* pinned, QWidget* host) : QObject(pinned), pinned_(pinned), host_(host) {
    pinned_->setGeometry(host->rect());
    host->installEventFilter(this);
    pinned->installEventFilter(this);
}

bool EdgePin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && event->type() == QEvent::Resize)
        pinned_->setGeometry(host_->rect());
    // The host's own needs take in the pinned widget's (ViewController::minimumSizeHint).
    if (watched == pinned_ && event->type() == QEvent::LayoutRequest && host_)
        host_->updateGeometry();
    return false;
}
