#include "platform/NamedColors.h"

#include <QHash>

namespace {
QHash<QString, QColor> defaultTable() {
    return {
        {NamedColors::appColor, QColor(0xF7, 0xF9, 0xFC)},
        {NamedColors::blue, QColor(0x0A, 0x6E, 0xD1)},
        {NamedColors::grey, QColor(0x9A, 0xA0, 0xA6)},
        {NamedColors::lightgrey, QColor(0xD9, 0xDC, 0xE1)},
    };
}

QHash<QString, QColor>& table() {
    static QHash<QString, QColor> colors = defaultTable();
    return colors;
}
} // namespace

std::optional<QColor> NamedColors::color(const QString& name) {
    const auto it = table().constFind(name);
    if (it == table().constEnd())
        return std::nullopt;
    return *it;
}

void NamedColors::setColor(const QString& name, std::optional<QColor> value) {
    if (value)
        table().insert(name, *value);
    else
        table().remove(name);
}

void NamedColors::restoreDefaults() {
    table() = defaultTable();
}
