#include "core/DurableFile.h"

#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Whether the error number means that there was no room: a full disk, a used-up quota, a
// file-size limit.
bool isNoRoom(int error) {
    return error == ENOSPC || error == EFBIG
#ifdef EDQUOT
           || error == EDQUOT
#endif
        ;
}

DurableFile::Result failed(int error) {
    return {false, qt_error_string(error), isNoRoom(error)};
}

// Every byte handed to the system at once, so that a write the disk cuts short says why (the
// next write after a short one fails with the reason), rather than Qt's "Unknown error".
DurableFile::Result writeAll(QSaveFile& file, const QByteArray& bytes) {
#ifdef Q_OS_UNIX
    const char* next = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(file.handle(), next, static_cast<size_t>(left));
        if (written < 0 && errno != EINTR)
            return failed(errno);
        if (written > 0) {
            next += written;
            left -= written;
        }
    }
    return {true, {}, false};
#else
    if (file.write(bytes) != bytes.size() || !file.flush())
        return {false, file.errorString(), false};
    return {true, {}, false};
#endif
}

// Data still in the kernel's hands can yet fail to reach the disk (delayed allocation, network
// file systems): the sync is where that shows. A file system without sync is not a failure.
DurableFile::Result syncToDisk(QSaveFile& file) {
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) == 0 || errno == EINVAL || errno == EROFS)
        return {true, {}, false};
    return failed(errno);
#else
    Q_UNUSED(file);
    return {true, {}, false}; // QSaveFile::commit() syncs what it can
#endif
}

// The rename itself lives in the folder; without this a power cut may bring back the old file.
void syncFolder(const QString& path) {
#ifdef Q_OS_UNIX
    const int folder = ::open(QFile::encodeName(QFileInfo(path).path()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
#else
    Q_UNUSED(path);
#endif
}

} // namespace

DurableFile::Target DurableFile::target(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink()) {
        if (info.exists() && !info.isFile())
            return {{}, QStringLiteral("not a regular file: ") + path};
        return {path, {}};
    }
    const QString final = info.canonicalFilePath();
    if (final.isEmpty())
        return {{}, QStringLiteral("a link to nothing: ") + path};
    const QFileInfo finalInfo(final);
    if (!finalInfo.isFile())
        return {{}, QStringLiteral("a link to what is not a regular file: ") + path};
    if (finalInfo.path() != QFileInfo(info.absolutePath()).canonicalFilePath())
        return {{}, QStringLiteral("a link out of its folder: ") + path};
    return {final, {}};
}

DurableFile::Result DurableFile::replace(const QString& path, const QByteArray& bytes) {
    const Target where = target(path);
    if (where.path.isEmpty())
        return {false, where.error, false};
    QSaveFile file(where.path);
    if (!file.open(QIODevice::WriteOnly)) {
        const int error = errno; // that of the temporary file's creation
        return {false, file.errorString(), isNoRoom(error)};
    }
    // Also when it replaces a file an earlier build left open to others.
    PrivateFolder::restrict(file.handle());
    Result written = writeAll(file, bytes);
    if (written.ok)
        written = syncToDisk(file);
    if (!written.ok) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit())
        return {false, file.errorString(), false};
    syncFolder(where.path);
    return {true, {}, false};
}
