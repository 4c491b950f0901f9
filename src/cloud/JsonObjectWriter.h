#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QMap>
#include <QString>

#include <variant>

// Writes a flat JSON object of text members straight into one byte array, exactly as
// QJsonDocument::toJson(Compact) writes the same object (members in key order, Qt's escaping),
// without the copies that the detour through QVariantMap, QJsonObject and QJsonDocument makes.
// Large values (transmitter replies as base64) are taken as bytes and shared, not copied,
// until toJson() writes them once into a body of exactly the right size.
class JsonObjectWriter {
public:
    void text(const QString& key, const QString& value);
    // Text given as its UTF-8 bytes, such as base64.
    void bytes(const QString& key, const QByteArray& value);
    // A JSON array of such texts.
    void list(const QString& key, const QByteArrayList& values);

    QByteArray toJson() const;

private:
    using Value = std::variant<QString, QByteArray, QByteArrayList>;
    // Keys in the order QJsonObject keeps them.
    QMap<QString, Value> members_;
};
