#include "core/Logger.h"

#include "core/AppConstants.h"
#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/Helper.h"

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
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(bytes);
}

QString Logger::prefix(const char* file, const QString& function, int line) {
    namespace D = AppConstants::DebugLog;
    return D::fileNameLabel + QFileInfo(QString::fromUtf8(file)).fileName() + D::functionLabel +
           function + D::lineLabel + QString::number(line);
}
