#pragma once

#include "core/DurableFile.h"

#include <QMap>
#include <QString>

#include <optional>

// The application's own settings file "AppUserDefault.txt" (at AppState::g_appUserDefaultUrl):
// one JSON object of text keys and text values, kept in memory in AppState::AppUserDefault
// and rewritten whole, atomically, on every store. The sign-in keys and the quiz's progress
// entries live side by side in it. Main thread only.
//
// A file that exists but cannot be used is never overwritten silently:
// - unreadable (no permission, an I/O error, not a regular file such as a folder, a FIFO or a
//   link to a device): stores are refused and logged, the file stays;
// - not an object of text values (broken JSON, a number value, bad UTF-8) or larger than any
//   real settings file (RegularFile::maxReadBytes): the file is moved aside under a name of its
//   own (SetAside) and logged, and the store writes what the memory holds from the last good
//   read plus the new member; when it cannot be moved aside, stores are refused.
namespace AppUserDefaultStore {

// The value stored under key, a member still waiting to be written included; empty text when the
// key, the file or its location is missing, or when the file cannot be parsed.
QString getAppUserDefault(const QString& key);
// Adds or replaces one member and rewrites the file. Says whether the file now holds it, and why
// not; when it does not (a full disk, a file that must not be overwritten), the member waits in
// memory and goes into the file with the next store, on a timer or when the application quits
// (PendingWrites).
DurableFile::Result setAppUserDefault(const QString& key, const QString& value);
// Refreshes AppState::AppUserDefault from the file, with the members still waiting to be written
// on top. An empty or missing file leaves the map as it is; so does one that cannot be read or
// parsed (see above). Returns false when the file exists but must not be overwritten (it could
// not be read, or not be moved aside).
bool getAppUserDefaultFromFileToDictionary();
// The whole file as text; empty text when it is missing or unreadable. A file not written yet
// (the first start) is normal and reads silently; an unreadable one, or no location, prints
// "error reading".
QString readFromAppUserDefault();
// Writes text as the whole file in UTF-8, durably: on any failure (a full disk, a file that is
// not ours to replace) the old file stays as it was. Returns whether it was written; does
// nothing without a location.
bool writeToAppUserDefaultFile(const QString& text);
// The map held by a JSON text, or nothing when it is not one object of text values.
std::optional<QMap<QString, QString>> convertToDictionary(const QString& text);

} // namespace AppUserDefaultStore
