#pragma once

#include <QColor>

#include <functional>

class QPropertyAnimation;
class QVariantAnimation;
class QWidget;

// The side a view slides in from.
enum class TransitionDirection { fromLeft, fromRight, fromTop, fromBottom };

namespace Transitions {
inline constexpr double pushSeconds = 0.3;
inline constexpr double colorSeconds = 1.0;

// Slides view in from the given side to where it stands, over pushSeconds. A transition that
// is still running on the view is finished first, so the view always ends where it stood.
// Windows do not slide: returns nullptr for them. The animation belongs to the view.
QPropertyAnimation* push(QWidget* view, TransitionDirection direction);

// Applies a colour as a widget's background.
using ColorSetter = std::function<void(QWidget*, const QColor&)>;
// Sets the widget's window colour and lets it fill its background with it.
void setBackgroundColor(QWidget* view, const QColor& color);

// Fades view's background from one colour to the other over colorSeconds and leaves it at
// the second. A colour change still running on the view stops where it is.
QVariantAnimation* animateBackgroundColor(QWidget* view, const QColor& from, const QColor& to,
                                          const ColorSetter& apply = setBackgroundColor);
} // namespace Transitions
