#include "core/IniText.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <atomic>
#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Empty text when written, else why not.
QString writeWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush())
        return {};
    return file.errorString();
}

std::optional<QByteArray> readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QVariantMap valuesOf(const QSettings& settings) {
    QVariantMap values;
    for (const QString& key : settings.allKeys())
        values.insert(key, settings.value(key));
    return values;
}

// What QSettings reads of the file; nothing when it could not open it (lines it cannot parse are
// skipped, as they always were, and *whole says so).
std::optional<QVariantMap> valuesOfFile(const QString& path, bool* whole) {
    const QSettings settings(path, QSettings::IniFormat);
    if (settings.status() == QSettings::AccessError)
        return std::nullopt;
    if (whole)
        *whole = settings.status() != QSettings::FormatError;
    return valuesOf(settings);
}

QString scratchTemplate(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral(".settings-scratch-XXXXXX"));
}

#ifdef Q_OS_LINUX
// QSettings keeps what it parsed of a file by name, and parses it again only when its size or
// its time of change differs. Names under /proc are reused, and two texts of one size may be
// written within a millisecond, so each text gets a time of change that no earlier one had.
bool markAsNew(int fd) {
    static std::atomic<std::int64_t> next{1};
    const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(next++), 0}};
    return ::futimens(fd, times) == 0;
}

// The text in a file that lives in memory only, read through its name under /proc.
std::optional<QVariantMap> parseInMemory(const QByteArray& text, bool* whole) {
    const int fd = ::memfd_create("settings", MFD_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QVariantMap> values;
    const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    QFile file;
    if (QFile::exists(path) && file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) &&
        file.write(text) == text.size() && file.flush() && markAsNew(fd))
        values = valuesOfFile(path, whole);
    file.close();
    ::close(fd);
    return values;
}
#endif

} // namespace

std::optional<QVariantMap> IniText::parse(const QByteArray& text, const QString& scratchFolder,
                                          bool* whole) {
    if (whole)
        *whole = true;
    if (text.isEmpty())
        return QVariantMap();
#ifdef Q_OS_LINUX
    if (std::optional<QVariantMap> values = parseInMemory(text, whole))
        return values;
#endif
    const QTemporaryDir scratch(scratchTemplate(scratchFolder));
    const QString path = scratch.filePath(QStringLiteral("read.ini"));
    if (!scratch.isValid() || !writeWhole(path, text).isEmpty())
        return std::nullopt;
    return valuesOfFile(path, whole);
}

std::optional<IniText::Written> IniText::withChanges(const QByteArray& text, const Changes& changes,
                                                     const QString& scratchFolder, QString* error) {
    QString why;
    const auto failed = [&](const QString& reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const QTemporaryDir scratch(scratchTemplate(scratchFolder));
    if (!scratch.isValid())
        return failed(scratch.errorString());
    const QString written = scratch.filePath(QStringLiteral("write.ini"));
    if (why = writeWhole(written, text); !why.isEmpty())
        return failed(why);
    QVariantMap values;
    {
        QSettings settings(written, QSettings::IniFormat);
        for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
            if (it.value())
                settings.setValue(it.key(), *it.value());
            else
                settings.remove(it.key());
        }
        settings.sync();
        if (settings.status() == QSettings::FormatError)
            return failed(QStringLiteral("the settings text cannot be read whole"));
        if (settings.status() != QSettings::NoError)
            return failed(QStringLiteral("the settings text could not be written"));
        values = valuesOf(settings);
    }
    // Under a name no QSettings has seen, so that it is read from the disk.
    const QString check = scratch.filePath(QStringLiteral("check.ini"));
    QFile renamed(written);
    if (!renamed.rename(check))
        return failed(renamed.errorString());
    const std::optional<QByteArray> result = readWhole(check);
    QStringList keys = QSettings(check, QSettings::IniFormat).allKeys();
    keys.sort();
    // QSettings does not report a write that a full disk cut short.
    if (!result || (!result->isEmpty() && !result->endsWith('\n')) ||
        keys != QStringList(values.keys()))
        return failed(QStringLiteral("the settings text came out short: the disk may be full"));
    return Written{*result, std::move(values)};
}
