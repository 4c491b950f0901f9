#pragma once

#include "models/AuditHistoryElement.h"
#include "models/UserFirmwareInfo.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// Static utilities of the application.
namespace Helper {

// The application's folder in the user's application-support directory, where every file the
// application writes lives; nothing when the platform names none. The folder may not exist
// yet (see createFolderInsideApplicationSupportIfNotExist).
std::optional<QString> getDirectoryUrl();

// Makes that folder, and the maker's folder it sits in, the user's alone (PrivateFolder), creating
// them when needed. Returns the folder; nothing when there is none. *error, when given, says why
// the folder is not there (empty text when it is).
std::optional<QString> makeDirectory(QString* error = nullptr);

// Makes that folder (makeDirectory) and points AppState::g_appUserDefaultUrl at the settings
// file "AppUserDefault.txt" inside it. Run at start-up.
void createFolderInsideApplicationSupportIfNotExist();

// The log CSV file name for a transmitter at the given moment:
// "WPZ_0000_" + id + "_00_0000_000" + yyyy.MM.dd'T'hh.mm.ss (12-hour clock, no AM/PM) + ".csv".
// Characters that cannot stand in a file name (path separators, control characters, quotes
// and the like) in the id are replaced by "_", so the name never leaves the folder.
QString createLogFileName(const QString& transmitterID, const QDateTime& at);
QString createLogFileName(const QString& transmitterID);

// The expected total size of a transmitter reply from the bytes collected so far: 3 + the
// little-endian 16-bit length in bytes 1 and 2. Nothing while fewer than 3 bytes are known.
// Writes a console line either way.
std::optional<int> getUSBMessageSize(const QByteArray& message);
// The same for bytes held as integers; a value outside 0 to 255 gives nothing.
std::optional<int> getUSBMessageSize(const QList<int>& message);

// "MMMM d yyyy 'at' h:mm a" in English, directly followed by "(GMT <hours>:<mm>)" with the
// zone's offset, e.g. "December 6 2026 at 2:05 PM(GMT 5:30)" or "...(GMT -3:30)".
QString getGmtDateTimeString(const QDateTime& at);
QString getGmtDateTimeString();

// The system-information block of a help e-mail for the user's firmware record and the
// application's version; empty text when the version is unknown.
QString getSystemInfo(const std::optional<UserFirmwareInfo>& info,
                      const std::optional<QString>& appVersion);
// The same for the signed-in user (GlobalUserManager) and the running application's version
// ("CFBundleShortVersionString" of the information file).
QString getSystemInfo();

// Base64 of the UTF-8 activity CSV made of the audit-history rows; empty text when there is
// no history.
QString getBase64AuditLog(const std::optional<QList<AuditHistoryElement>>& history);
// The same for the signed-in user's history (GlobalUserManager).
QString getBase64AuditLog();

// A text made fit to stand in a file name (see createLogFileName).
QString fileNameSafe(const QString& text);

} // namespace Helper
