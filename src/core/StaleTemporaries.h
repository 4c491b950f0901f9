#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

// What an interrupted atomic write leaves behind. QSaveFile writes into a temporary beside its
// file, named after it with "." and six letters or digits, and renames that over the file at
// the end; a write killed before then leaves the temporary for good (where the system offers
// unnamed temporary files, nothing is left). Clearing them at start-up keeps the application
// folder from filling up with them.
namespace StaleTemporaries {

// The name of the file a temporary was written for, or nothing when the name is not a
// temporary's.
std::optional<QString> writtenFor(const QString& name);

// Removes from the folder the temporaries written for files that `isOurs` accepts (by name)
// and left unchanged since `before`; a younger one may still be in use by a write under way.
// Returns how many were removed.
int remove(const QString& folder, const std::function<bool(const QString&)>& isOurs,
           const QDateTime& before);

// At start-up: the temporaries of the settings file and the log CSV files in the application
// folder, and of the settings stores, older than a minute.
void removeOurs();

} // namespace StaleTemporaries
