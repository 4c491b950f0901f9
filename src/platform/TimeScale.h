#pragma once

// The product's fixed periods (quiet periods, one-second delays) are written in seconds at
// their call sites and turned into milliseconds here. Tests may shrink them with setTimeScale
// so the suite stays fast; the product never changes the scale, which is 1.
namespace TimeScale {
double factor();
void setFactor(double factor);
int milliseconds(double seconds);
} // namespace TimeScale
