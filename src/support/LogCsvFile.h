#pragma once

#include <QString>

#include <optional>

// The CSV file of a support upload, in the application's folder, and the settings-store key
// "LogFileName" that names it from a successful write until its deletion.
namespace LogCsvFile {

struct WriteResult {
    bool ok = false;
    QString path;        // where the file is, or would have been
    QString error;       // why nothing was written (on failure)
    qint64 size = 0;     // bytes written (on success)
    bool noRoom = false; // the failure is a full disk, a quota or a file-size limit
};

// Writes the text as UTF-8, durably: a file of the same name is replaced whole or not at all,
// also on a full disk. Only a successful write stores the name; after a failure the key keeps its
// old value.
WriteResult write(const QString& fileName, const QString& content);

// Whether the file of that name holds a whole write of `size` bytes: it is a regular file, not
// empty and not shorter. A file cut short after its write must not go to support as if whole.
bool isWhole(const QString& fileName, qint64 size);

// The name stored by the last successful write that has not been deleted since.
std::optional<QString> storedName();

// The folder path of a stored name, when there is a folder.
std::optional<QString> pathOf(const QString& fileName);

enum class DeleteResult { deleted, noStoredName, noFolder, noFile, failed };

// Deletes the file the key names; the key is removed only when the file was deleted.
DeleteResult deleteStored(QString* error = nullptr);

} // namespace LogCsvFile
