#include "platform/RegularFile.h"

#include "platform/PrivateFolder.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using RegularFile::ReadResult;
using RegularFile::ReadStatus;

namespace {

enum class Use { read, append };

ReadResult refused(ReadStatus status, const QString& error) {
    return {status, {}, error};
}

ReadResult notRegular() {
    return refused(ReadStatus::notRegular, QStringLiteral("not a regular file"));
}

ReadResult tooLarge(qint64 limit) {
    return refused(ReadStatus::tooLarge, QStringLiteral("larger than %1 bytes").arg(limit));
}

#ifdef Q_OS_UNIX

ReadResult failed(int error) {
    return refused(error == ENOENT ? ReadStatus::missing : ReadStatus::failed,
                   qt_error_string(error));
}

// The look before the open keeps a device or a FIFO from being opened at all; O_NONBLOCK keeps
// the open from waiting when a FIFO is swapped in meanwhile, and the look after it catches
// that swap. Appends also refuse a link, so that a line never lands outside the folder.
ReadResult open(QFile& file, const QString& path, Use use,
                qint64 limit = RegularFile::maxReadBytes) {
    const QByteArray name = QFile::encodeName(path);
    struct stat before {};
    const int looked =
        use == Use::read ? ::stat(name.constData(), &before) : ::lstat(name.constData(), &before);
    if (looked != 0 && (use == Use::read || errno != ENOENT))
        return failed(errno);
    if (looked == 0 && !S_ISREG(before.st_mode))
        return notRegular();
    if (looked == 0 && use == Use::read && before.st_size > limit)
        return tooLarge(limit);
    const int flags = O_NONBLOCK | O_CLOEXEC |
                      (use == Use::read ? O_RDONLY : O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW);
    const int fd = ::open(name.constData(), flags, PrivateFolder::fileMode);
    if (fd < 0)
        return errno == ELOOP || errno == ENXIO ? notRegular() : failed(errno);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return notRegular();
    }
    if (use == Use::append)
        PrivateFolder::restrict(fd);
    const QIODevice::OpenMode mode =
        use == Use::read ? QIODevice::ReadOnly
                         : QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refused(ReadStatus::failed, file.errorString());
    }
    return {ReadStatus::read, {}, {}};
}

#else

ReadResult open(QFile& file, const QString& path, Use use,
                qint64 limit = RegularFile::maxReadBytes) {
    const QFileInfo info(path);
    if (!info.exists() && use == Use::read)
        return refused(ReadStatus::missing, QStringLiteral("no such file"));
    if (info.exists() && (!info.isFile() || (use == Use::append && info.isSymLink())))
        return notRegular();
    if (use == Use::read && info.size() > limit)
        return tooLarge(limit);
    file.setFileName(path);
    const QIODevice::OpenMode mode =
        use == Use::read ? QIODevice::ReadOnly
                         : QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered;
    if (!file.open(mode))
        return refused(ReadStatus::failed, file.errorString());
    return {ReadStatus::read, {}, {}};
}

#endif

} // namespace

ReadResult RegularFile::read(const QString& path, qint64 limit) {
    QFile file;
    ReadResult result = open(file, path, Use::read, limit);
    if (result.status != ReadStatus::read)
        return result;
    // In pieces, so that a file growing behind our back is never read whole into memory.
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 count = file.read(chunk.data(), chunk.size());
        if (count < 0)
            return refused(ReadStatus::failed, file.errorString());
        if (count == 0)
            return result;
        if (result.bytes.size() + count > limit)
            return tooLarge(limit);
        result.bytes.append(chunk.constData(), count);
    }
}

bool RegularFile::openToAppend(QFile& file, const QString& path) {
    return open(file, path, Use::append).status == ReadStatus::read;
}
