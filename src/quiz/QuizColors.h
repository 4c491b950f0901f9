#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QAbstractButton;

// The quiz's named colours, with what stands in for each when the table lacks it: "appColor"
// white, "blue" the system blue, "grey" the system grey, "lightgrey" light grey.
namespace QuizColors {
QColor color(const QString& name);

// Paints what a mark button shows (its tick or dot) in the given colour; without a colour the
// style's own stays.
void setContentTint(QAbstractButton* mark, const std::optional<QColor>& tint);
} // namespace QuizColors
