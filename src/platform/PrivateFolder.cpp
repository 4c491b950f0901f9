#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
constexpr mode_t folderMode = 0700;

// Makes one folder of ours, or tightens it. A link in its place is not ours to change. Returns
// why it is not a folder; empty text when it is.
QString makeOne(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), folderMode) != 0 && errno != EEXIST)
        return qt_error_string(errno);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return qt_error_string(errno);
    if (!S_ISDIR(info.st_mode))
        return qt_error_string(ENOTDIR);
    if (::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        (info.st_mode & 07777) != folderMode && info.st_uid == ::geteuid())
        ::chmod(name.constData(), folderMode);
    return {};
}
#endif

} // namespace

QString PrivateFolder::make(const QString& folder, const QString& notOurs) {
#ifdef Q_OS_UNIX
    // Absolute, so that the folders in between are counted from the same place.
    const QString path = QDir(folder).absolutePath();
    QString base = notOurs.isEmpty() ? QFileInfo(path).path() : QDir(notOurs).absolutePath();
    QString ours = QDir(base).relativeFilePath(path);
    if (ours.isEmpty() || ours == u"." || ours.startsWith(u"..")) {
        base = QFileInfo(path).path();
        ours = QFileInfo(path).fileName();
    }
    QDir().mkpath(base);
    QDir at(base);
    for (const QString& part : ours.split(u'/', Qt::SkipEmptyParts)) {
        if (const QString error = makeOne(at.filePath(part)); !error.isEmpty())
            return error;
        at.cd(part);
    }
    return {};
#else
    Q_UNUSED(notOurs);
    return QDir().mkpath(folder) ? QString() : QStringLiteral("cannot make the folder");
#endif
}

void PrivateFolder::restrict(int fd) {
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::fstat(fd, &info) == 0 && (info.st_mode & 07777) != fileMode)
        ::fchmod(fd, static_cast<mode_t>(fileMode));
#else
    Q_UNUSED(fd);
#endif
}
