#include "platform/FocusOrder.h"

#include "platform/Cover.h"

#include <QGridLayout>
#include <QLayout>
#include <QWidget>

#include <algorithm>

namespace {

void addWidget(QWidget* widget, QList<QWidget*>& order);

// A layout's items in the order they stand on screen.
QList<QLayoutItem*> itemsInPlace(QLayout* layout) {
    QList<QLayoutItem*> items;
    for (int i = 0; i < layout->count(); ++i)
        items.append(layout->itemAt(i));
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        const auto cell = [grid](QLayoutItem* item) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(grid->indexOf(item), &row, &column, &rowSpan, &columnSpan);
            return std::pair{row, column};
        };
        std::stable_sort(items.begin(), items.end(),
                         [&](QLayoutItem* a, QLayoutItem* b) { return cell(a) < cell(b); });
    }
    return items;
}

void addLayout(QLayout* layout, QList<QWidget*>& order) {
    for (QLayoutItem* item : itemsInPlace(layout)) {
        if (QWidget* widget = item->widget())
            addWidget(widget, order);
        else if (QLayout* inner = item->layout())
            addLayout(inner, order);
    }
}

void addWidget(QWidget* widget, QList<QWidget*>& order) {
    order.append(widget);
    const qsizetype first = order.size();
    if (QLayout* layout = widget->layout())
        addLayout(layout, order);
    const QList<QWidget*> placed = order.mid(first);
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && !placed.contains(child))
            addWidget(child, order);
    }
}

} // namespace

QList<QWidget*> FocusOrder::readingOrder(QWidget* root) {
    QList<QWidget*> order;
    if (!root)
        return order;
    addWidget(root, order);
    order.removeFirst();
    return order;
}

QWidget* FocusOrder::next(const QList<QWidget*>& order, const QWidget* from, bool forward) {
    const qsizetype count = order.size();
    const qsizetype start = order.indexOf(from);
    for (qsizetype step = 1; step <= count; ++step) {
        // Without a start, the first step lands on the first (or, backwards, the last) widget.
        const qsizetype origin = start >= 0 ? start : (forward ? -1 : count);
        const qsizetype index = ((origin + (forward ? step : -step)) % count + count) % count;
        QWidget* candidate = order.at(index);
        if (candidate != from && Cover::canTakeFocus(candidate) && !candidate->focusProxy())
            return candidate;
    }
    return nullptr;
}
