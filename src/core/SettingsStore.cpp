#include "core/SettingsStore.h"

#include "core/AppConstants.h"
#include "core/DurableFile.h"
#include "core/Logger.h"
#include "core/PendingWrites.h"
#include "core/SetAside.h"
#include "platform/PrivateFolder.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The file as it is now, read through a link in its folder; a missing file reads as empty.
RegularFile::ReadResult readFile(const QString& path) {
    const DurableFile::Target where = DurableFile::target(path);
    if (where.path.isEmpty())
        return {RegularFile::ReadStatus::notRegular, {}, where.error};
    RegularFile::ReadResult file = RegularFile::read(where.path);
    if (file.status == RegularFile::ReadStatus::missing)
        return {RegularFile::ReadStatus::read, {}, {}};
    return file;
}

void logError(const QString& prefix, const QString& error) {
    Logger::log(prefix + AppConstants::DebugLog::errorLabel + error);
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
    const RegularFile::ReadResult file = readFile(*file_);
    const std::optional<QVariantMap> values = file.status == RegularFile::ReadStatus::read
                                                  ? IniText::parse(file.bytes, folder())
                                                  : std::nullopt;
    if (!values) {
        logError(LOG_PREFIX_FN("load()"),
                 file.error.isEmpty() ? QStringLiteral("cannot read ") + *file_ : file.error);
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

void SettingsStore::setValue(const QString& key, const QVariant& value, Logger::Caller caller) {
    apply({{key, value}}, caller);
}

void SettingsStore::removeObject(const QString& key, Logger::Caller caller) {
    apply({{key, std::nullopt}}, caller);
}

void SettingsStore::apply(const IniText::Changes& changes, Logger::Caller caller) {
    if (!file_)
        return;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (it.value())
            values_.insert(it.key(), *it.value());
        else
            values_.remove(it.key());
        unwritten_.insert(it.key(), it.value());
    }
    synchronize(caller);
}

bool SettingsStore::synchronize(Logger::Caller caller) {
    const QString error = writeUnwritten(caller);
    if (error.isEmpty())
        return true;
    logError(Logger::prefix(caller), error);
    return false;
}

QString SettingsStore::writeUnwritten(const Logger::Caller& caller) {
    if (!file_ || unwritten_.isEmpty()) {
        PendingWrites::written(this);
        return {};
    }
    // Read now, not at start-up: another program may have written its keys since.
    const RegularFile::ReadResult file = readFile(*file_);
    // As QSettings does, the first write makes the folder; ours, so the user's alone.
    PrivateFolder::make(folder());
    QString error = file.error;
    std::optional<IniText::Written> written;
    if (file.status == RegularFile::ReadStatus::tooLarge) {
        written = rebuilt({}, error, caller, &error);
    } else if (file.status == RegularFile::ReadStatus::read) {
        bool whole = true;
        const std::optional<QVariantMap> readable = IniText::parse(file.bytes, folder(), &whole);
        if (readable && !whole)
            written = rebuilt(*readable, QStringLiteral("text QSettings cannot take whole"), caller,
                              &error);
        else
            written = IniText::withChanges(file.bytes, unwritten_, folder(), &error);
    }
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
    PendingWrites::waiting(this, *file_, [this, caller] { return writeUnwritten(caller); });
    return error;
}

std::optional<IniText::Written> SettingsStore::rebuilt(const QVariantMap& readable,
                                                       const QString& trouble,
                                                       const Logger::Caller& caller,
                                                       QString* error) {
    // Once the file is aside, every value is a change until the fresh text is in.
    IniText::Changes all;
    for (auto it = readable.cbegin(); it != readable.cend(); ++it)
        all.insert(it.key(), it.value());
    all.insert(unwritten_);
    std::optional<IniText::Written> fresh = IniText::withChanges({}, all, folder(), error);
    if (!fresh)
        return std::nullopt;
    const SetAside::Result aside = SetAside::move(*file_);
    if (!aside.ok) {
        *error = trouble + QStringLiteral(", and it cannot be set aside: ") + aside.error;
        return std::nullopt;
    }
    logError(Logger::prefix(caller),
             *file_ + QStringLiteral(" cannot be written again as it is (") + trouble +
                 QStringLiteral("); kept as ") + aside.name +
                 QStringLiteral(", and begun afresh with what could be read of it"));
    unwritten_ = all;
    return fresh;
}

QString SettingsStore::folder() const {
    return file_ ? QFileInfo(*file_).path() : QString();
}

void SettingsStore::reset(const std::optional<QString>& file) {
    file_ = file;
    load();
}
