#pragma once

#include <QList>

class QWidget;

// The order in which Tab walks a window: the order the user reads it in, top to bottom and
// left to right, whatever order the widgets were made in. It follows the layouts, which place
// the widgets that way: a box layout's items in order, a grid's row by row.
namespace FocusOrder {

// Every widget under root (root itself left out), in reading order. Children that no layout
// places come after those that one does, in the order they were made.
QList<QWidget*> readingOrder(QWidget* root);

// The control that Tab (forward) or Shift+Tab reaches from `from` in `order`, wrapping round;
// `from` may be any widget of the order, or none (the walk starts at an end). Only controls
// that can take the focus now count. nullptr when there is none.
QWidget* next(const QList<QWidget*>& order, const QWidget* from, bool forward);

} // namespace FocusOrder
