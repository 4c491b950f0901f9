#pragma once

#include <QString>

// Diagnostic lines on standard output, one line each, flushed a moment after they are printed.
// Nothing depends on their wording.
namespace Console {
void print(const QString& line);
} // namespace Console
