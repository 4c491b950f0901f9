#pragma once

#include <QColor>
#include <QString>

#include <optional>

// The application's named colours. A name may be missing from the table; each caller decides
// what stands in for a missing colour:
//
//   const QColor blue = NamedColors::color(NamedColors::blue).value_or(QColor(Qt::blue));
namespace NamedColors {
inline const QString appColor = QStringLiteral("appColor");
inline const QString blue = QStringLiteral("blue");
inline const QString grey = QStringLiteral("grey");
inline const QString lightgrey = QStringLiteral("lightgrey");

std::optional<QColor> color(const QString& name);

// Changes or removes (std::nullopt) one entry, so tests can see what callers do without it.
void setColor(const QString& name, std::optional<QColor> value);
// Puts the table back as the application ships it.
void restoreDefaults();
} // namespace NamedColors
