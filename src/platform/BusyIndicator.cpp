#include "platform/BusyIndicator.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QTimerEvent>

#include <cmath>
#include <numbers>

namespace {

// Assistive tools see an indeterminate progress indicator, as they would the system's spinner.
QAccessibleInterface* accessibleBusyIndicator(const QString& className, QObject* object) {
    if (className == QLatin1String("BusyIndicator") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::ProgressBar);
    return nullptr;
}

} // namespace

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleBusyIndicator);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize BusyIndicator::sizeHint() const {
    return {28, 28};
}

void BusyIndicator::startAnimation() {
    animating_ = true;
    updateTimer();
}

void BusyIndicator::stopAnimation() {
    animating_ = false;
    updateTimer();
}

void BusyIndicator::updateTimer() {
    if (animating_ && isVisible()) {
        if (!timer_.isActive())
            timer_.start(1000 / stepsPerSecond, Qt::CoarseTimer, this);
    } else {
        timer_.stop();
    }
}

void BusyIndicator::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateTimer();
}

void BusyIndicator::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    updateTimer();
}

void BusyIndicator::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    step_ = (step_ + 1) % dotCount;
    update();
}

void BusyIndicator::paintEvent(QPaintEvent*) {
    // Antialiased dots are costly to draw eight times a second for hours; each picture is
    // drawn once and then only copied, until the size, colour or pixel ratio changes.
    const qreal ratio = devicePixelRatioF();
    const QColor colour = palette().color(QPalette::WindowText);
    if (frames_.size() != dotCount || frameSize_ != size() || frameRatio_ != ratio ||
        frameColour_ != colour) {
        frames_.clear();
        for (int head = 0; head < dotCount; ++head)
            frames_.append(drawFrame(head, colour, ratio));
        frameSize_ = size();
        frameRatio_ = ratio;
        frameColour_ = colour;
    }
    QPainter(this).drawPixmap(0, 0, frames_.at(step_));
}

QPixmap BusyIndicator::drawFrame(int head, QColor colour, qreal ratio) const {
    QPixmap frame(size() * ratio);
    frame.setDevicePixelRatio(ratio);
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double side = std::min(width(), height());
    const double dot = side / 5.0;
    const double radius = (side - dot) / 2.0;
    const QPointF centre(width() / 2.0, height() / 2.0);
    for (int i = 0; i < dotCount; ++i) {
        // The head is fully drawn; the dots behind it fade, the rest stay faint.
        const int behind = (head - i + dotCount) % dotCount;
        colour.setAlphaF(behind < 4 ? 1.0 - 0.2 * behind : 0.2);
        painter.setBrush(colour);
        const double angle = 2.0 * std::numbers::pi * i / dotCount - std::numbers::pi / 2.0;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
        painter.drawEllipse(at, dot / 2.0, dot / 2.0);
    }
    return frame;
}
