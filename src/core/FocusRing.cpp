#include "core/FocusRing.h"

#include "core/Extensions.h"

#include <QApplication>
#include <QFocusFrame>
#include <QPainter>
#include <QProxyStyle>
#include <QVariant>

namespace {

const char* const kOutline = "pelloryFocusRingOutline";
constexpr int kPenWidth = 2;
// Between the control's edge and the ring.
constexpr int kGap = 2;

// What the ring asks of the style: room around the control, and a place above it (in the
// window, or in the scroll area that shows it) instead of one clipped to the control's parent.
class RingStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
            return kGap + kPenWidth;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_FocusFrame_AboveWidget)
            return 1;
        if (hint == SH_FocusFrame_Mask)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

class Ring : public QFocusFrame {
public:
    Ring(QWidget* parent, QStyle* style) : QFocusFrame(parent) { setStyle(style); }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!widget())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Extensions::focusRingColor(), kPenWidth));
        const qreal inset = kPenWidth / 2.0;
        // Rounded as the control is, the gap kept at the corners too.
        const qreal radius = Extensions::cornerRadius(widget()) + kGap + inset;
        painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), radius,
                                radius);
    }
};

} // namespace

FocusRing::FocusRing(QWidget* window)
    : QObject(window), window_(window), ringStyle_(new RingStyle) {
    ringStyle_->setParent(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusRing::setOutline(QWidget* control, QWidget* outline) {
    control->setProperty(kOutline, QVariant::fromValue(outline));
}

void FocusRing::follow(QWidget* focus) {
    // The window's own controls and those of its sheets.
    const QWidget* owner = focus ? focus->window() : nullptr;
    if (owner && owner != window_ && owner->parentWidget())
        owner = owner->parentWidget()->window();
    const bool wanted = owner == window_ && focus->focusPolicy() != Qt::NoFocus;
    QWidget* ringed = wanted ? focus : nullptr;
    if (ringed)
        if (auto* outline = focus->property(kOutline).value<QWidget*>())
            ringed = outline;
    // A ring inside a sheet goes with the sheet; a new one takes its place.
    if (!ring_ && ringed)
        ring_ = new Ring(window_, ringStyle_);
    if (ring_)
        ring_->setWidget(ringed);
}
