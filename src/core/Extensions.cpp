#include "core/Extensions.h"

#include "core/Logger.h"
#include "platform/NamedColors.h"
#include "platform/Transitions.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QGraphicsDropShadowEffect>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QVariant>
#include <QWidget>

namespace {

// The pieces of a button's style, kept on the button so that each call changes only its own
// part of the style sheet.
const char* const kBackground = "pelloryButtonBackground";
const char* const kBorder = "pelloryButtonBorder";
const char* const kText = "pelloryButtonText";
const char* const kViewBackground = "pelloryViewBackground";
const char* const kCornerRadius = "pelloryCornerRadius";
constexpr int kRoundedCorner = 10;

QString css(const QColor& color) {
    return color.name(QColor::HexArgb);
}

std::optional<QColor> stored(const QObject* object, const char* name) {
    const QVariant value = object->property(name);
    if (!value.isValid())
        return std::nullopt;
    return value.value<QColor>();
}

QColor namedOr(const QString& name, const QColor& fallback) {
    return NamedColors::color(name).value_or(fallback);
}

void applyStyle(QAbstractButton* button) {
    // A rounded button (setButton, add) paints its own background; any other button may
    // still have a view background.
    const auto rounded = stored(button, kBackground);
    const auto fill = rounded ? rounded : stored(button, kViewBackground);
    const auto border = stored(button, kBorder);
    // An explicit title colour wins over the border's tint.
    const auto title = stored(button, kText);
    const auto text = title ? title : border;
    const auto* push = qobject_cast<const QPushButton*>(button);
    // A pop-up's arrow stands clear of the rounded corner, with room of its own.
    const bool popUp = rounded && push && push->menu();
    // The focus ring goes around the button (core/FocusRing.h): the style draws none inside.
    QString rule = QStringLiteral(" outline: none;");
    if (rounded)
        rule += QStringLiteral(" border-radius: %1px; padding: 4px %2px;")
                    .arg(kRoundedCorner)
                    .arg(popUp ? 30 : 14);
    if (fill)
        rule += QStringLiteral(" background-color: %1;").arg(css(*fill));
    rule += border ? QStringLiteral(" border: 1px solid %1;").arg(css(*border))
                   : QStringLiteral(" border: none;");
    if (text)
        rule += QStringLiteral(" color: %1;").arg(css(*text));
    QString sheet = QStringLiteral("QAbstractButton {%1 }").arg(rule);
    if (popUp)
        sheet += QStringLiteral(" QPushButton::menu-indicator { subcontrol-origin: padding;"
                                " subcontrol-position: right center; right: 12px; }");
    if (rounded) {
        // The state rules change only the fill and, disabled, the border and the title: the
        // corners stay round. Whatever its colours, a rounded button that cannot be used looks
        // like every other one that cannot: greyed title and border on the plain background.
        sheet += QStringLiteral(" QAbstractButton:pressed { background-color: %1; }"
                                " QAbstractButton:disabled { background-color: %2;"
                                " border: 1px solid %3; color: %4; }")
                     .arg(css(rounded->darker(115)), css(namedOr(NamedColors::appColor, Qt::white)),
                          css(namedOr(NamedColors::lightgrey, Qt::lightGray)),
                          css(namedOr(NamedColors::grey, Extensions::systemGrey())));
    }
    button->setStyleSheet(sheet);
}

} // namespace

QColor Extensions::focusRingColor() {
    // Dark enough to stand out against the blue buttons as well as against the window.
    return QColor(0x0B, 0x1F, 0x3A);
}

int Extensions::cornerRadius(const QWidget* widget) {
    if (!widget)
        return 0;
    const QVariant radius = widget->property(kCornerRadius);
    if (radius.isValid())
        return radius.toInt();
    return stored(widget, kBackground) ? kRoundedCorner : 0;
}

void Extensions::setCornerRadius(QWidget* widget, int radius) {
    widget->setProperty(kCornerRadius, radius);
}

QColor Extensions::systemBlue() {
    return QColor(0x00, 0x7A, 0xFF);
}

QColor Extensions::systemGrey() {
    return QColor(0x8E, 0x8E, 0x93);
}

void Extensions::setButton(QAbstractButton* button, const QColor& backgroundColor, bool isBordered,
                           std::optional<QColor> borderColor) {
    if (!button)
        return;
    button->setProperty(kBackground, backgroundColor);
    if (isBordered)
        button->setProperty(kBorder,
                            borderColor.value_or(namedOr(NamedColors::blue, systemBlue())));
    applyStyle(button);
}

void Extensions::add(QAbstractButton* button, const QColor& backgroundColor,
                     std::optional<QColor> shadowColor) {
    if (!button)
        return;
    button->setProperty(kBackground, backgroundColor);
    applyStyle(button);
    auto* shadow = new QGraphicsDropShadowEffect(button);
    shadow->setColor(shadowColor.value_or(namedOr(NamedColors::grey, systemGrey())));
    shadow->setOffset(0, 2);
    shadow->setBlurRadius(4);
    button->setGraphicsEffect(shadow);
}

void Extensions::setActionButton(QAbstractButton* button) {
    if (!button)
        return;
    // The style sheet takes the platform's padding away: the size is given here instead.
    button->setMinimumSize(180, 40);
    setButton(button, namedOr(NamedColors::blue, systemBlue()));
    set(button, Qt::white);
}

void Extensions::set(QAbstractButton* button, const QColor& textColor) {
    Logger::log(LOG_PREFIX_FN("set(textColor:)"));
    if (!button)
        return;
    button->setProperty(kText, textColor);
    applyStyle(button);
}

void Extensions::setScrollBarStyle(QAbstractScrollArea* area) {
    if (!area)
        return;
    const QColor thumb = namedOr(NamedColors::grey, systemGrey());
    const QString sheet =
        QStringLiteral("QScrollBar:vertical { background: transparent; width: 12px; margin: 2px; }"
                       " QScrollBar::handle:vertical { background: %1; border-radius: 4px;"
                       " min-height: 24px; }"
                       " QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical"
                       " { height: 0px; }"
                       " QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical"
                       " { background: none; }")
            .arg(css(thumb));
    area->verticalScrollBar()->setStyleSheet(sheet);
}

QFont Extensions::textFont(int pixelSize) {
    QFont font(QStringLiteral("Helvetica Neue"));
    font.setPixelSize(pixelSize);
    return font;
}

void Extensions::setBackgroundColor(QWidget* view, const std::optional<QColor>& color) {
    if (!view)
        return;
    if (!color) {
        // Back to what the view would have without a colour of its own.
        view->setProperty(kViewBackground, QVariant());
        view->setAutoFillBackground(false);
        const QPalette inherited =
            view->parentWidget() ? view->parentWidget()->palette() : QApplication::palette(view);
        QPalette palette = view->palette();
        palette.setColor(QPalette::Window, inherited.color(QPalette::Window));
        palette.setColor(QPalette::Button, inherited.color(QPalette::Button));
        view->setPalette(palette);
        if (auto* button = qobject_cast<QAbstractButton*>(view))
            applyStyle(button);
        return;
    }
    view->setProperty(kViewBackground, *color);
    Transitions::setBackgroundColor(view, *color);
    // A button's style sheet would paint over the palette: the colour goes into it.
    if (auto* button = qobject_cast<QAbstractButton*>(view))
        applyStyle(button);
    // Buttons paint their face in the button colour.
    QPalette palette = view->palette();
    palette.setColor(QPalette::Button, *color);
    view->setPalette(palette);
}

std::optional<QColor> Extensions::backgroundColor(const QWidget* view) {
    if (!view)
        return std::nullopt;
    return stored(view, kViewBackground);
}
