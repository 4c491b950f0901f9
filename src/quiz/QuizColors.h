#pragma once

#include <QColor>
#include <QString>

// The quiz's named colours, with what stands in for each when the table lacks it: "appColor"
// white, "blue" the system blue, "grey" the system grey, "lightgrey" light grey.
namespace QuizColors {
QColor color(const QString& name);
} // namespace QuizColors
