#pragma once

#include "core/IniText.h"
#include "core/Logger.h"

#include <QString>
#include <QVariant>

#include <optional>

// A settings store: an INI file as QSettings reads it, that may be absent. Without a file,
// reads yield nothing and writes are skipped.
//
// QSettings is not left to write the file: it reports success after a write that a full disk
// cut short, and leaves a short or empty file. Each change is written at once instead, through
// IniText and DurableFile: the file as it is now, with every key of other programs, plus the
// changes not yet in it. When that fails (a full disk, a file that is not ours to replace), the
// error is logged with the caller's function and line, the file stays as it was, and the changes
// wait in memory: the next write takes them along, and until then they are tried again on a
// timer and when the application quits (PendingWrites).
//
// A file that QSettings cannot take whole (an unclosed section, a line cut short) or that is
// past the bound of a read would refuse every write: the first write moves it aside under a name
// of its own (SetAside), says so once in the debug log, and starts a fresh file with the values
// that could be read and the changes.
class SettingsStore {
public:
    SettingsStore();
    explicit SettingsStore(const QString& file);
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;
    ~SettingsStore();

    bool isAvailable() const { return file_.has_value(); }
    std::optional<QVariant> value(const QString& key) const;
    // The value as text; nothing when it is missing or not text-like.
    std::optional<QString> string(const QString& key) const;
    void setValue(const QString& key, const QVariant& value,
                  Logger::Caller caller = Logger::Caller::here());
    void removeObject(const QString& key, Logger::Caller caller = Logger::Caller::here());
    // Several changes (nothing: the key is removed) in one write, so that the file holds all of
    // them or none.
    void apply(const IniText::Changes& changes, Logger::Caller caller = Logger::Caller::here());
    // The file the store keeps its values in.
    std::optional<QString> fileName() const { return file_; }
    // Writes the changes that an earlier write could not. Returns whether the file holds
    // every value of the store.
    bool synchronize(Logger::Caller caller = Logger::Caller::here());

    // Opens another file (nothing: the store becomes absent).
    void reset(const std::optional<QString>& file);

private:
    void load();
    // Writes the changes not yet in the file; empty text when they are in, else why not. While
    // they are not, the store waits in PendingWrites.
    QString writeUnwritten(const Logger::Caller& caller);
    // The text of a file that cannot be written again as it is (see above), made fresh from the
    // values that could be read of it and the changes; the file is moved aside. Nothing, with
    // why, when either cannot be done.
    std::optional<IniText::Written> rebuilt(const QVariantMap& readable, const QString& trouble,
                                            const Logger::Caller& caller, QString* error);
    // Where the file lies, and where the store does its scratch work.
    QString folder() const;

    std::optional<QString> file_;
    QVariantMap values_;
    IniText::Changes unwritten_;
};
