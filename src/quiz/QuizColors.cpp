#include "quiz/QuizColors.h"

#include "core/Extensions.h"
#include "platform/NamedColors.h"

#include <QAbstractButton>
#include <QPalette>

QColor QuizColors::color(const QString& name) {
    if (const std::optional<QColor> named = NamedColors::color(name))
        return *named;
    if (name == NamedColors::blue)
        return Extensions::systemBlue();
    if (name == NamedColors::grey)
        return Extensions::systemGrey();
    if (name == NamedColors::lightgrey)
        return QColor(Qt::lightGray);
    return QColor(Qt::white);
}

void QuizColors::setContentTint(QAbstractButton* mark, const std::optional<QColor>& tint) {
    if (!mark || !tint)
        return;
    // Styles draw a tick or a dot in the text colour, and some fill a chosen mark with the
    // highlight.
    QPalette palette = mark->palette();
    palette.setColor(QPalette::Text, *tint);
    palette.setColor(QPalette::Highlight, *tint);
    mark->setPalette(palette);
}
