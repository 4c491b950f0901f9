#include "core/IniText.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

bool writeWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

std::optional<QByteArray> readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QVariantMap valuesOf(const QSettings& settings) {
    QVariantMap values;
    for (const QString& key : settings.allKeys())
        values.insert(key, settings.value(key));
    return values;
}

} // namespace

std::optional<QVariantMap> IniText::parse(const QByteArray& text) {
    const QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("read.ini"));
    if (!scratch.isValid() || !writeWhole(path, text))
        return std::nullopt;
    return valuesOf(QSettings(path, QSettings::IniFormat));
}

std::optional<IniText::Written> IniText::withChanges(const QByteArray& text,
                                                     const Changes& changes) {
    const QTemporaryDir scratch;
    const QString written = scratch.filePath(QStringLiteral("write.ini"));
    if (!scratch.isValid() || !writeWhole(written, text))
        return std::nullopt;
    QVariantMap values;
    {
        QSettings settings(written, QSettings::IniFormat);
        for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
            if (it.value())
                settings.setValue(it.key(), *it.value());
            else
                settings.remove(it.key());
        }
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return std::nullopt;
        values = valuesOf(settings);
    }
    // Under a name no QSettings has seen, so that it is read from the disk.
    const QString check = scratch.filePath(QStringLiteral("check.ini"));
    if (!QFile::rename(written, check))
        return std::nullopt;
    const std::optional<QByteArray> result = readWhole(check);
    if (!result || (!result->isEmpty() && !result->endsWith('\n')))
        return std::nullopt;
    QStringList keys = QSettings(check, QSettings::IniFormat).allKeys();
    keys.sort();
    if (keys != QStringList(values.keys()))
        return std::nullopt;
    return Written{*result, std::move(values)};
}
