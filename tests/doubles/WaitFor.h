#pragma once

#include <functional>

// Runs the event loop until the condition holds or the time is up; returns the condition's
// last value. Tests wait with this instead of sleeping, so no wait can hang.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 3000);

// Runs the event loop for the given time, for checking that something does NOT happen.
void runEventsFor(int ms);
