#pragma once

#include <QObject>

#include <functional>

// The main thread's queue: calls posted here run later, one at a time, in posting order.
// Safe to call from any thread. With a context object the call is dropped when the context
// has been destroyed before it runs.
namespace MainQueue {
void async(std::function<void()> fn);
void async(QObject* context, std::function<void()> fn);
// Runs fn on the main thread after the given number of seconds (scaled by TimeScale), counted
// from the call, also when it is made on another thread.
void asyncAfter(double seconds, std::function<void()> fn);
void asyncAfter(double seconds, QObject* context, std::function<void()> fn);
bool isMainThread();
} // namespace MainQueue
