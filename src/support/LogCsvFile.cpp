#include "support/LogCsvFile.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/DurableFile.h"
#include "core/Helper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString& nameKey() {
    return AppConstants::userdefaultKeys::logFileName;
}

// A name that stays inside the folder: one path component, not "." or "..".
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

} // namespace

std::optional<QString> LogCsvFile::pathOf(const QString& fileName) {
    const std::optional<QString> folder = Helper::getDirectoryUrl();
    if (!folder)
        return std::nullopt;
    return QDir(*folder).filePath(fileName);
}

LogCsvFile::WriteResult LogCsvFile::write(const QString& fileName, const QString& content) {
    if (!isPlainFileName(fileName))
        return {false, fileName, QStringLiteral("Not a file name: ") + fileName};
    QString error;
    const std::optional<QString> folder = Helper::makeDirectory(&error);
    if (!folder)
        return {false, fileName, QStringLiteral("The application folder is not available.")};
    const QString path = QDir(*folder).filePath(fileName);
    if (!error.isEmpty())
        return {false, path,
                QStringLiteral("Could not make the folder ") + *folder + QStringLiteral(": ") +
                    error};

    const QByteArray bytes = content.toUtf8();
    const DurableFile::Result written = DurableFile::replace(path, bytes);
    if (!written.ok)
        return {false, path, written.error, 0, written.noRoom};

    // A store that cannot be written keeps the name in memory, which is where the upload reads it.
    AppState::defaults().setValue(nameKey(), fileName);
    return {true, path, {}, bytes.size()};
}

bool LogCsvFile::isWhole(const QString& fileName, qint64 size) {
    const std::optional<QString> path = pathOf(fileName);
    if (!path || !isPlainFileName(fileName))
        return false;
    const QFileInfo file(*path);
    return file.isFile() && file.size() > 0 && file.size() >= size;
}

std::optional<QString> LogCsvFile::storedName() {
    std::optional<QString> name = AppState::defaults().string(nameKey());
    if (name && name->isEmpty())
        return std::nullopt;
    return name;
}

LogCsvFile::DeleteResult LogCsvFile::deleteStored(QString* error) {
    const std::optional<QString> name = storedName();
    if (!name)
        return DeleteResult::noStoredName;
    const std::optional<QString> path = pathOf(*name);
    if (!path)
        return DeleteResult::noFolder;
    QFile file(*path);
    if (!isPlainFileName(*name) || !file.exists())
        return DeleteResult::noFile;
    if (!file.remove()) {
        if (error)
            *error = file.errorString();
        return DeleteResult::failed;
    }
    AppState::defaults().removeObject(nameKey());
    return DeleteResult::deleted;
}
