#pragma once

class QWidget;

// What an embedded screen lies over is out of use until it is uncovered: disabled, so neither
// the keyboard nor an assistive tool can press it, and hidden, so assistive tools stop listing
// it. Covers nest: a widget comes back, as it was before the first cover, once the last cover
// is lifted.
namespace Cover {
void cover(QWidget* widget);
void uncover(QWidget* widget);
bool isCovered(const QWidget* widget);

// The first control inside `within` that Tab would reach, or nullptr.
QWidget* firstFocusable(QWidget* within);
// Whether the widget can take the keyboard focus now: shown, enabled and reached by Tab.
bool canTakeFocus(const QWidget* widget);
} // namespace Cover
