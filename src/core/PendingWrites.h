#pragma once

#include <QString>

#include <functional>

// Changes to the application's own files that the disk refused (a full disk, a size limit, a
// file that is not ours to replace) wait in memory in the store that made them, and the store
// says so here. While any change waits, each waiting store is tried again every few seconds;
// when the application quits (its last window closed, SIGTERM or SIGINT) each is tried once
// more, and one that still fails is reported on the console and in the debug log. A store's own
// next write takes its waiting changes along, and tells this list when they are in. Main thread
// only.
namespace PendingWrites {

// Writes what waits in one store; empty text when it is now in the file, else why it is not.
using Write = std::function<QString()>;

// The store `owner` holds changes for `file` that its last write could not put there.
void waiting(const void* owner, const QString& file, Write write);
// The store's changes are in its file, or were given up: it no longer waits.
void written(const void* owner);

// Tries every waiting store once more, reporting each that still fails. Run when the
// application quits. Returns whether every change is now written.
bool writeAllAtQuit();

// The pause between two tries while a change waits.
inline constexpr double retrySeconds = 5.0;

} // namespace PendingWrites
