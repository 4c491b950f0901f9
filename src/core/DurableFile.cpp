#include "core/DurableFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Data still in the kernel's hands can yet fail to reach the disk (delayed allocation, network
// file systems): the sync is where that shows. A file system without sync is not a failure.
bool syncToDisk(QSaveFile& file, QString* error) {
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) == 0 || errno == EINVAL || errno == EROFS)
        return true;
    *error = qt_error_string(errno);
    return false;
#else
    Q_UNUSED(file);
    Q_UNUSED(error);
    return true; // QSaveFile::commit() syncs what it can
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
        return {false, where.error};
    QSaveFile file(where.path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    QString error;
    if (file.write(bytes) != bytes.size() || !file.flush() || !syncToDisk(file, &error)) {
        if (error.isEmpty())
            error = file.errorString();
        file.cancelWriting();
        return {false, error};
    }
    if (!file.commit())
        return {false, file.errorString()};
    syncFolder(where.path);
    return {true, {}};
}
