#include "core/Helper.h"

#include "cloud/GlobalUserManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Clock.h"
#include "core/Console.h"
#include "platform/BundleInfo.h"
#include "platform/PrivateFolder.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>

#include <cstdlib>

namespace {

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString computerType() {
#if defined(Q_OS_MACOS)
    return AppConstants::SystemInfo::computerMac;
#elif defined(Q_OS_WIN)
    return AppConstants::SystemInfo::computerWindows;
#else
    return AppConstants::SystemInfo::computerLinux;
#endif
}

// A CSV field as written: unchanged unless it holds a separator, a quote or a line break, in
// which case it is quoted and its quotes doubled, so that a description with a comma stays
// in its column.
QString csvField(const std::optional<QString>& value) {
    const QString text = value.value_or(QString());
    static const QString special = QStringLiteral(",\"\r\n");
    for (const QChar c : text) {
        if (special.contains(c)) {
            QString quoted = text;
            quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            return QLatin1Char('"') + quoted + QLatin1Char('"');
        }
    }
    return text;
}

} // namespace

std::optional<QString> Helper::getDirectoryUrl() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QString> Helper::makeDirectory(QString* error) {
    const std::optional<QString> folder = getDirectoryUrl();
    if (!folder)
        return std::nullopt;
    const QString why = PrivateFolder::make(
        *folder, QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (error)
        *error = why;
    return folder;
}

void Helper::createFolderInsideApplicationSupportIfNotExist() {
    QString error;
    const std::optional<QString> folder = makeDirectory(&error);
    if (!folder)
        return;
    if (!error.isEmpty())
        Console::print(QStringLiteral("Could not create the folder ") + *folder +
                       QStringLiteral(": ") + error);
    AppState::g_appUserDefaultUrl =
        QDir(*folder).filePath(AppConstants::AppUserDefaultFile::fileName);
}

QString Helper::fileNameSafe(const QString& text) {
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString safe = text;
    for (QChar& c : safe) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph || forbidden.contains(c))
            c = QLatin1Char('_');
    }
    return safe;
}

QString Helper::createLogFileName(const QString& transmitterID, const QDateTime& at) {
    namespace N = AppConstants::SupportUpload;
    const QTime time = at.time();
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QString stamp = at.date().toString(N::fileNameDatePart) + N::fileNameTimeMark +
                          twoDigits(hour12) + N::fileNameTimeSeparator + twoDigits(time.minute()) +
                          N::fileNameTimeSeparator + twoDigits(time.second());
    return N::fileNamePrefix + N::fileNameSeparator + N::fileNameFourZeros + N::fileNameSeparator +
           fileNameSafe(transmitterID) + N::fileNameSeparator + N::fileNameTwoZeros +
           N::fileNameSeparator + N::fileNameFourZeros + N::fileNameSeparator +
           N::fileNameThreeZeros + stamp + N::fileNameExtension;
}

QString Helper::createLogFileName(const QString& transmitterID) {
    return createLogFileName(transmitterID, Clock::now());
}

std::optional<int> Helper::getUSBMessageSize(const QByteArray& message) {
    if (message.size() < 3) {
        Console::print(AppConstants::UsbMessage::tooShort);
        return std::nullopt;
    }
    const auto byteAt = [&message](int i) {
        return static_cast<int>(static_cast<quint8>(message[i]));
    };
    const int size = 3 + byteAt(1) + 256 * byteAt(2);
    Console::print(AppConstants::UsbMessage::expectedCount + QLatin1Char(' ') +
                   QString::number(size));
    return size;
}

std::optional<int> Helper::getUSBMessageSize(const QList<int>& message) {
    QByteArray bytes;
    bytes.reserve(message.size());
    for (const int value : message) {
        if (value < 0 || value > 255)
            return std::nullopt;
        bytes.append(static_cast<char>(value));
    }
    return getUSBMessageSize(bytes);
}

QString Helper::getGmtDateTimeString(const QDateTime& at) {
    namespace G = AppConstants::GmtDate;
    const QString date = QLocale(QLocale::English, QLocale::UnitedStates).toString(at, G::format);
    const int offset = at.offsetFromUtc();
    const int hours = offset / 3600;
    const int minutes = std::abs(offset / 60) % 60;
    // A zone west of GMT by less than an hour still shows its minus sign.
    const QString sign = offset < 0 && hours == 0 ? QStringLiteral("-") : QString();
    return date + G::offsetOpen + sign + QString::number(hours) + QLatin1Char(':') +
           twoDigits(minutes) + G::offsetClose;
}

QString Helper::getGmtDateTimeString() {
    return getGmtDateTimeString(Clock::now());
}

QString Helper::getSystemInfo(const std::optional<UserFirmwareInfo>& info,
                              const std::optional<QString>& appVersion) {
    namespace S = AppConstants::SystemInfo;
    if (!appVersion)
        return {};
    const UserFirmwareInfo record = info.value_or(UserFirmwareInfo{});
    return S::heading + QString::number(record.transmitterID.value_or(0)) + S::firmwareVersion +
           record.transmitterVersionNo.value_or(QString()) + S::sensorSerialNumber +
           record.sensorID.value_or(QString()) + S::insertionDate +
           record.insertionDateTime.value_or(QString()) + S::mmaVersion +
           record.appVersion.value_or(QString()) + S::appVersion + *appVersion + S::computerType +
           computerType();
}

QString Helper::getSystemInfo() {
    return getSystemInfo(GlobalUserManager::shared().currentUserFirmwareInfo,
                         BundleInfo::find(AppConstants::Configurations::bundleShortVersionString));
}

QString Helper::getBase64AuditLog() {
    return getBase64AuditLog(GlobalUserManager::shared().auditHistory);
}

QString Helper::getBase64AuditLog(const std::optional<QList<AuditHistoryElement>>& history) {
    if (!history || history->isEmpty())
        return {};
    QString csv = AppConstants::ActivityCsv::header;
    for (const AuditHistoryElement& row : *history) {
        csv += csvField(row.auditDate) + QLatin1Char(',') + csvField(row.transmitterID) +
               QStringLiteral(", ") + csvField(row.firmwareID) + QLatin1Char(',') +
               csvField(row.errorCode) + QLatin1Char(',') + csvField(row.failureDescription) +
               QLatin1Char('\n');
    }
    return QString::fromLatin1(csv.toUtf8().toBase64());
}
