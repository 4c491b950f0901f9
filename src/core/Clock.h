#pragma once

#include <QDateTime>

#include <functional>

// The current date and time in the local time zone. Tests may fix it (with any time zone);
// an empty function returns to the system clock.
namespace Clock {
QDateTime now();
void setNowProvider(std::function<QDateTime()> provider);
} // namespace Clock
