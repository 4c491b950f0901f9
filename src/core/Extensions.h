#pragma once

#include <QColor>
#include <QFont>

#include <optional>

class QAbstractButton;
class QAbstractScrollArea;
class QWidget;

// The application's button and view styles.
namespace Extensions {

// Rounded button (corner radius 10) on the given background. Bordered: a 1-pixel border and
// the text in borderColor (by default the named colour "blue", or the system blue). Pressed,
// it darkens, rounded still.
void setButton(QAbstractButton* button, const QColor& backgroundColor, bool isBordered = false,
               std::optional<QColor> borderColor = std::nullopt);

// Rounded button (corner radius 10) on the given background with a shadow 2 pixels below it,
// blurred over 4 pixels, in shadowColor (by default the named colour "grey", or the system
// grey). A pop-up button (one given its menu first) keeps its arrow clear of the corner.
void add(QAbstractButton* button, const QColor& backgroundColor,
         std::optional<QColor> shadowColor = std::nullopt);

// The colour of the ring around the control with the keyboard focus.
QColor focusRingColor();
// The radius of the widget's corners: that of the rounded buttons above, the one given to the
// widget, or 0 for a square one.
int cornerRadius(const QWidget* widget);
// A widget whose own style sheet rounds it tells the others (its focus ring) here.
void setCornerRadius(QWidget* widget, int radius);

// The application's main action button: rounded, on the named colour "blue" (or the system
// blue), with a white title, at least 180 by 40 pixels.
void setActionButton(QAbstractButton* button);

// The button's title in the given colour; writes one debug-log line.
void set(QAbstractButton* button, const QColor& textColor);

// A slim scroll bar whose thumb is the darker part, in the named colour "grey" (or the system
// grey), on a clear track: where the thumb stands reads at a glance.
void setScrollBarStyle(QAbstractScrollArea* area);

// The application's text face, "HelveticaNeue", at a size in pixels.
QFont textFont(int pixelSize);

// A view's background colour; nothing removes it.
void setBackgroundColor(QWidget* view, const std::optional<QColor>& color);
std::optional<QColor> backgroundColor(const QWidget* view);

// What stands in for the named colours "blue" and "grey" when the table lacks them
// (platform/NamedColors.h).
QColor systemBlue();
QColor systemGrey();

} // namespace Extensions
