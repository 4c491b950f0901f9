#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The application's own files are trusted only as far as they are plain files: a damaged or
// tampered folder may hold a FIFO, a folder or a link to a device where a file is expected.
// Opening one of those may wait for good (a FIFO without a partner) and reading one may never
// end (/dev/zero), so every read and append of our own files goes through here.
namespace RegularFile {

// Far above the small files the application keeps (a settings text, Info.json), low enough that
// a read can never exhaust the memory. A log CSV holds whole logs and may be far larger: it is
// read under a bound of its own.
inline constexpr qint64 maxReadBytes = 16 * 1024 * 1024;

enum class ReadStatus {
    read,
    missing,
    notRegular, // a folder, a FIFO, a device, or a link to one of them
    tooLarge,   // more than the read's limit
    failed,     // no permission, an I/O error
};

struct ReadResult {
    ReadStatus status = ReadStatus::failed;
    QByteArray bytes; // the whole file when read
    QString error;    // why it was not read, for a log line
};

// Reads the whole file at path, following links, without ever waiting on the other end of a
// FIFO and without reading past limit bytes.
ReadResult read(const QString& path, qint64 limit = maxReadBytes);

// Opens path to append, creating it when missing, only when it is a regular file and not a
// link: a log line must never leave the folder or reach a device. Never waits. The file is the
// user's alone (PrivateFolder::fileMode) from then on. Returns whether the file is open.
bool openToAppend(QFile& file, const QString& path);

} // namespace RegularFile
