#pragma once

#include <QByteArray>
#include <QString>

// Replacing a file whole, so that any failure - a full disk, a size limit, an I/O error - leaves
// the old file exactly as it was. QSaveFile alone is not enough: on Qt 6.4 write() only fills
// its buffer, and commit() reports success after a failed flush, putting a short or empty file
// in place of the old one.
namespace DurableFile {

// Where a write to a path lands: the path itself when it is a regular file or missing, or the
// final target of a link when that is a regular file in the link's own folder. Anything else (a
// device, a FIFO, a folder, a link to nothing or out of the folder) is refused, with why.
struct Target {
    QString path;  // empty when refused
    QString error; // why it was refused
};
Target target(const QString& path);

struct Result {
    bool ok = false;
    QString error;       // why the file was left as it was: the system's reason
    bool noRoom = false; // the reason is a full disk, a used-up quota or a file-size limit
    explicit operator bool() const { return ok; }
};

// Replaces the file at the path (see target()) with the bytes, or creates it, as the user's
// alone (PrivateFolder::fileMode); synced to the disk where the platform offers it.
Result replace(const QString& path, const QByteArray& bytes);

} // namespace DurableFile
