#include "core/StaleTemporaries.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Helper.h"
#include "core/Logger.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// No atomic write of ours takes anywhere near this long.
constexpr int stalenessSeconds = 60;

bool isLogFileName(const QString& name) {
    namespace N = AppConstants::SupportUpload;
    return name.startsWith(N::fileNamePrefix + N::fileNameSeparator) &&
           name.endsWith(N::fileNameExtension);
}

} // namespace

std::optional<QString> StaleTemporaries::writtenFor(const QString& name) {
    static const QRegularExpression temporary(QStringLiteral("^(.+)\\.[A-Za-z0-9]{6}$"));
    const QRegularExpressionMatch match = temporary.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

int StaleTemporaries::remove(const QString& folder,
                             const std::function<bool(const QString&)>& isOurs,
                             const QDateTime& before) {
    int removed = 0;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const std::optional<QString> target = writtenFor(entry.fileName());
        if (!target || !isOurs(*target) || entry.lastModified() >= before)
            continue;
        if (QFile::remove(entry.filePath())) {
            ++removed;
            Logger::log(LOG_PREFIX_FN("removeStaleTemporaries()") + QStringLiteral(" | removed ") +
                        entry.fileName());
        }
    }
    return removed;
}

void StaleTemporaries::removeOurs() {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-stalenessSeconds);
    if (const std::optional<QString> folder = Helper::getDirectoryUrl()) {
        remove(
            *folder,
            [](const QString& name) {
                return name == AppConstants::AppUserDefaultFile::fileName || isLogFileName(name);
            },
            before);
    }
    for (SettingsStore* store : {&AppState::defaults(), &AppState::standardDefaults()}) {
        const std::optional<QString> path = store->fileName();
        if (!path)
            continue;
        const QString name = QFileInfo(*path).fileName();
        remove(
            QFileInfo(*path).path(), [&name](const QString& file) { return file == name; }, before);
    }
}
