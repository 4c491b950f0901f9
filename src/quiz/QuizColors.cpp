#include "quiz/QuizColors.h"

#include "core/Extensions.h"
#include "platform/NamedColors.h"

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
