#include "platform/EdgePin.h"

#include <QEvent>

EdgePin::EdgePin(QWidget* pinned, QWidget* host) : QObject(pinned), pinned_(pinned), host_(host) {
    pinned_->setGeometry(host->rect());
    host->installEventFilter(this);
}

bool EdgePin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && event->type() == QEvent::Resize)
        pinned_->setGeometry(host_->rect());
    return false;
}
