#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

#include <optional>

// The INI text that QSettings reads and writes, handled as bytes so that the settings stores
// can put it in place themselves (see SettingsStore). QSettings works only on files, and keeps
// what it read by file name for later objects on the same file, so every call here works on
// fresh files of its own: a file in memory where the system offers one, else a private scratch
// folder in the given folder. That is the settings folder, not the system's temporary folder:
// a full or unwritable /tmp must not cost the settings that have room where they live.
namespace IniText {

// Key to its new value, or nothing: the key is removed.
using Changes = QMap<QString, std::optional<QVariant>>;

// The values the text holds; nothing when the text could not be read into QSettings. Reading
// needs no room on a disk where a file in memory can be made. *whole, when given, says whether
// QSettings took all of the text: one it cannot take (an unclosed section, a line cut short)
// gives the values it could read, and QSettings will not write it again.
std::optional<QVariantMap> parse(const QByteArray& text, const QString& scratchFolder,
                                 bool* whole = nullptr);

struct Written {
    QByteArray text;
    QVariantMap values;
};

// The text with the changes made, exactly as QSettings writes it, and the values it then holds.
// Every key of the text that the changes do not name stays as it is. Nothing when the result
// could not be made whole: QSettings does not report a failed write of its own, so the result is
// read again and must hold every key and end where a line ends. *error, when given, says why.
std::optional<Written> withChanges(const QByteArray& text, const Changes& changes,
                                   const QString& scratchFolder, QString* error = nullptr);

} // namespace IniText
