#include "core/SettingsStore.h"

#include "core/AppConstants.h"
#include "core/DurableFile.h"
#include "core/Logger.h"
#include "core/PendingWrites.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The file's bytes (empty when it does not exist yet), or nothing with why it cannot be read.
std::optional<QByteArray> readFile(const QString& path, QString* error) {
    const DurableFile::Target where = DurableFile::target(path);
    if (where.path.isEmpty()) {
        *error = where.error;
        return std::nullopt;
    }
    RegularFile::ReadResult file = RegularFile::read(where.path);
    if (file.status == RegularFile::ReadStatus::read)
        return std::move(file.bytes);
    if (file.status == RegularFile::ReadStatus::missing)
        return QByteArray();
    *error = file.error;
    return std::nullopt;
}

void logError(const QString& function, const QString& error) {
    Logger::log(Logger::prefix(__FILE__, function, __LINE__) + AppConstants::DebugLog::errorLabel +
                error);
}

} // namespace

SettingsStore::SettingsStore() = default;

SettingsStore::SettingsStore(const QString& file) : file_(file) {
    load();
}

SettingsStore::~SettingsStore() {
    PendingWrites::written(this);
}

void SettingsStore::load() {
    values_.clear();
    unwritten_.clear();
    PendingWrites::written(this);
    if (!file_)
        return;
    QString error;
    const std::optional<QByteArray> text = readFile(*file_, &error);
    const std::optional<QVariantMap> values = text ? IniText::parse(*text, folder()) : std::nullopt;
    if (!values) {
        logError(QStringLiteral("load()"),
                 error.isEmpty() ? QStringLiteral("cannot read ") + *file_ : error);
        return;
    }
    values_ = *values;
}

std::optional<QVariant> SettingsStore::value(const QString& key) const {
    const auto found = values_.constFind(key);
    if (found == values_.cend())
        return std::nullopt;
    return *found;
}

std::optional<QString> SettingsStore::string(const QString& key) const {
    const std::optional<QVariant> stored = value(key);
    if (!stored || !stored->canConvert<QString>())
        return std::nullopt;
    return stored->toString();
}

void SettingsStore::setValue(const QString& key, const QVariant& value) {
    apply({{key, value}});
}

void SettingsStore::removeObject(const QString& key) {
    apply({{key, std::nullopt}});
}

void SettingsStore::apply(const IniText::Changes& changes) {
    if (!file_)
        return;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (it.value())
            values_.insert(it.key(), *it.value());
        else
            values_.remove(it.key());
        unwritten_.insert(it.key(), it.value());
    }
    synchronize();
}

bool SettingsStore::synchronize() {
    const QString error = writeUnwritten();
    if (error.isEmpty())
        return true;
    logError(QStringLiteral("synchronize()"), error);
    return false;
}

QString SettingsStore::writeUnwritten() {
    if (!file_ || unwritten_.isEmpty()) {
        PendingWrites::written(this);
        return {};
    }
    // Read now, not at start-up: another program may have written its keys since.
    QString error;
    const std::optional<QByteArray> text = readFile(*file_, &error);
    // As QSettings does, the first write makes the folder.
    QDir().mkpath(folder());
    const std::optional<IniText::Written> written =
        text ? IniText::withChanges(*text, unwritten_, folder()) : std::nullopt;
    if (written) {
        const DurableFile::Result replaced = DurableFile::replace(*file_, written->text);
        if (replaced.ok) {
            values_ = written->values;
            unwritten_.clear();
            PendingWrites::written(this);
            return {};
        }
        error = replaced.error;
    }
    PendingWrites::waiting(this, *file_, [this] { return writeUnwritten(); });
    return error.isEmpty() ? QStringLiteral("cannot make the settings text of ") + *file_ : error;
}

QString SettingsStore::folder() const {
    return file_ ? QFileInfo(*file_).path() : QString();
}

void SettingsStore::reset(const std::optional<QString>& file) {
    file_ = file;
    load();
}
