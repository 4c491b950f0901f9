#include "platform/Cover.h"

#include <QVariant>
#include <QWidget>

namespace {
const char* const kCount = "pelloryCoverCount";
const char* const kWasHidden = "pelloryCoverWasHidden";
const char* const kWasDisabled = "pelloryCoverWasDisabled";

int count(const QWidget* widget, const char* name) {
    return widget->property(name).toInt();
}
} // namespace

void Cover::cover(QWidget* widget) {
    if (!widget)
        return;
    if (count(widget, kCount) == 0) {
        // Only what the widget was told itself: a widget hidden or disabled by its parent
        // follows the parent again once uncovered.
        widget->setProperty(kWasHidden, widget->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
                                            widget->isHidden());
        widget->setProperty(kWasDisabled, widget->testAttribute(Qt::WA_ForceDisabled));
    }
    widget->setProperty(kCount, count(widget, kCount) + 1);
    widget->setEnabled(false);
    widget->hide();
}

void Cover::uncover(QWidget* widget) {
    if (!widget || count(widget, kCount) == 0)
        return;
    const int covers = count(widget, kCount) - 1;
    widget->setProperty(kCount, covers);
    if (covers > 0)
        return;
    if (!widget->property(kWasDisabled).toBool())
        widget->setEnabled(true);
    if (!widget->property(kWasHidden).toBool())
        widget->show();
}

bool Cover::isCovered(const QWidget* widget) {
    return widget && count(widget, kCount) > 0;
}

bool Cover::canTakeFocus(const QWidget* widget) {
    return widget && widget->isVisible() && widget->isEnabled() &&
           (widget->focusPolicy() & Qt::TabFocus);
}

QWidget* Cover::firstFocusable(QWidget* within) {
    if (!within)
        return nullptr;
    for (QWidget* next = within->nextInFocusChain(); next && next != within;
         next = next->nextInFocusChain()) {
        if (within->isAncestorOf(next) && canTakeFocus(next))
            return next;
    }
    return nullptr;
}
