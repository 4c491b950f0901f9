#include "core/Logger.h"

#include "core/AppConstants.h"
#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/Helper.h"
#include "platform/RegularFile.h"
#include "platform/TimeScale.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSysInfo>

namespace {

QMutex g_mutex;
std::function<QString()> g_serialNumberProvider;

QString serialNumber() {
    std::function<QString()> provider;
    {
        QMutexLocker lock(&g_mutex);
        provider = g_serialNumberProvider;
    }
    return provider ? provider() : QString();
}

QByteArray line(const QDateTime& at, const QString& text) {
    return (at.toString(AppConstants::DebugLog::lineDateFormat) + QStringLiteral(": ") + text +
            QLatin1Char('\n'))
        .toUtf8();
}

QByteArray header(const QDateTime& at) {
    namespace D = AppConstants::DebugLog;
    const QString build = Configs::value(ConfigsKeys::bundleVersion);
    QString version = Configs::value(ConfigsKeys::bundleShortVersionString);
    if (!build.isEmpty())
        version += QStringLiteral(" (") + build + QLatin1Char(')');
    return line(at, D::headerRule) + line(at, D::headerTitle) +
           line(at, D::headerAppVersion + version) +
           line(at, D::headerOperatingSystem + QSysInfo::prettyProductName()) +
           line(at, D::headerKernel + QSysInfo::kernelType() + QLatin1Char(' ') +
                        QSysInfo::kernelVersion()) +
           line(at, D::headerArchitecture + QSysInfo::currentCpuArchitecture()) +
           line(at, D::headerDate + Helper::getGmtDateTimeString(at)) + line(at, D::headerRule);
}

// A full disk or a size limit makes every write fail alike; rather than have each caller pay
// for a failing write, lines are dropped for a while, and the disk is tried again after it.
constexpr double pauseAfterFailedWriteSeconds = 10.0;

// Appends bytes in one write. A write that lands only in part is cut off again, so that the
// next line never continues a broken one; but only while the part is still the file's end, as
// another running instance may append to the same file in between.
bool appendWhole(QFile& file, const QByteArray& bytes) {
    const qint64 before = file.size();
    const qint64 written = file.write(bytes);
    if (written == bytes.size())
        return true;
    if (written > 0 && file.size() == before + written)
        file.resize(before);
    return false;
}

QString filePathFor(const QDate& date) {
    const std::optional<QString> folder = Helper::getDirectoryUrl();
    if (!folder)
        return {};
    return QDir(*folder).filePath(Logger::fileName(date, serialNumber()));
}

} // namespace

void Logger::setSerialNumberProvider(std::function<QString()> provider) {
    QMutexLocker lock(&g_mutex);
    g_serialNumberProvider = std::move(provider);
}

QString Logger::fileName(const QDate& date, const QString& serialNumber) {
    namespace D = AppConstants::DebugLog;
    return D::fileNamePrefix + Helper::fileNameSafe(serialNumber) + QLatin1Char('_') +
           date.toString(D::fileNameDateFormat) + D::fileExtension;
}

QString Logger::currentFilePath() {
    return filePathFor(Clock::now().date());
}

void Logger::log(const QString& text, bool writeHeader) {
    const QDateTime now = Clock::now();
    const QString path = filePathFor(now.date());
    if (path.isEmpty())
        return;
    const QByteArray bytes = writeHeader ? header(now) + line(now, text) : line(now, text);
    // One writer at a time, so lines from different threads never interleave.
    static QMutex fileMutex;
    QMutexLocker lock(&fileMutex);
    static QDeadlineTimer quietUntil; // expired: the disk is tried
    if (!quietUntil.hasExpired())
        return;
    Helper::makeDirectory();
    QFile file;
    if (!RegularFile::openToAppend(file, path))
        return;
    if (!appendWhole(file, bytes))
        quietUntil.setRemainingTime(TimeScale::milliseconds(pauseAfterFailedWriteSeconds));
}

QString Logger::prefix(const char* file, const QString& function, int line) {
    namespace D = AppConstants::DebugLog;
    return D::fileNameLabel + QFileInfo(QString::fromUtf8(file)).fileName() + D::functionLabel +
           function + D::lineLabel + QString::number(line);
}
