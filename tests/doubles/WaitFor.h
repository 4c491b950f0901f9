#pragma once

#include <functional>

// Runs the event loop until done() holds or the time is up; returns whether done() held.
// Every wait in the tests goes through here so that none can hang.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000);

// Runs the event loop for the given time, for checking that something does NOT happen.
void spinFor(int milliseconds);
