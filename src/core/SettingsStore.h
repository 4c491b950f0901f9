#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class QSettings;

// A settings store that may be absent: without a backing store, reads yield nothing and
// writes are skipped.
class SettingsStore {
public:
    SettingsStore();
    explicit SettingsStore(std::unique_ptr<QSettings> settings);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool isAvailable() const { return settings_ != nullptr; }
    std::optional<QVariant> value(const QString& key) const;
    // The value as text; nothing when it is missing or not text-like.
    std::optional<QString> string(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);
    void removeObject(const QString& key);
    // Where the store keeps its values, when that is a file of its own.
    std::optional<QString> fileName() const;
    // Writes pending changes to permanent storage.
    void synchronize();

    // Replaces the backing store (nullptr: the store becomes absent).
    void reset(std::unique_ptr<QSettings> settings);

private:
    std::unique_ptr<QSettings> settings_;
};
