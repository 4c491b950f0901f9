#include "core/SettingsStore.h"

#include <QSettings>

SettingsStore::SettingsStore() = default;

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)) {}

SettingsStore::~SettingsStore() = default;

std::optional<QVariant> SettingsStore::value(const QString& key) const {
    if (!settings_ || !settings_->contains(key))
        return std::nullopt;
    return settings_->value(key);
}

std::optional<QString> SettingsStore::string(const QString& key) const {
    const std::optional<QVariant> stored = value(key);
    if (!stored || !stored->canConvert<QString>())
        return std::nullopt;
    return stored->toString();
}

void SettingsStore::setValue(const QString& key, const QVariant& value) {
    if (settings_)
        settings_->setValue(key, value);
}

void SettingsStore::removeObject(const QString& key) {
    if (settings_)
        settings_->remove(key);
}

std::optional<QString> SettingsStore::fileName() const {
    if (!settings_ || settings_->fileName().isEmpty())
        return std::nullopt;
    return settings_->fileName();
}

void SettingsStore::synchronize() {
    if (settings_)
        settings_->sync();
}

void SettingsStore::reset(std::unique_ptr<QSettings> settings) {
    settings_ = std::move(settings);
}
