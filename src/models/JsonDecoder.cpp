#include "models/JsonDecoder.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>
#include <limits>

namespace {

QString typeName(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a Boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("text");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

QString mismatch(const QString& expected, const QJsonValue& found) {
    return QStringLiteral("expected %1, found %2").arg(expected, typeName(found));
}

} // namespace

JsonObjectReader::JsonObjectReader(QJsonObject object, QString path)
    : object_(std::move(object)), path_(std::move(path)) {}

QString JsonObjectReader::pathOf(const QString& key) const {
    return path_.isEmpty() ? key : path_ + QLatin1Char('.') + key;
}

void JsonObjectReader::fail(const QString& key, const QString& message) {
    if (!failed())
        error_ = pathOf(key) + QStringLiteral(": ") + message;
}

std::optional<QJsonValue> JsonObjectReader::take(const QString& key, bool required) {
    const auto it = object_.constFind(key);
    if (it == object_.constEnd() || it->isNull()) {
        if (required)
            fail(key, it == object_.constEnd() ? QStringLiteral("required key is missing")
                                               : QStringLiteral("required key is null"));
        return std::nullopt;
    }
    return *it;
}

bool JsonObjectReader::present(const QString& key) {
    return take(key, true).has_value();
}

std::optional<QJsonValue> JsonObjectReader::takeTyped(const QString& key,
                                                      bool (QJsonValue::*isType)() const,
                                                      const QString& expected) {
    const std::optional<QJsonValue> value = take(key, false);
    if (value && !((*value).*isType)()) {
        fail(key, mismatch(expected, *value));
        return std::nullopt;
    }
    return value;
}

std::optional<QString> JsonObjectReader::optionalString(const QString& key) {
    const auto value = takeTyped(key, &QJsonValue::isString, QStringLiteral("text"));
    return value ? std::optional<QString>(value->toString()) : std::nullopt;
}

QString JsonObjectReader::requiredString(const QString& key) {
    return present(key) ? optionalString(key).value_or(QString()) : QString();
}

std::optional<int> JsonObjectReader::optionalInt(const QString& key) {
    const auto value = takeTyped(key, &QJsonValue::isDouble, QStringLiteral("an integer"));
    if (!value)
        return std::nullopt;
    const double number = value->toDouble();
    if (std::trunc(number) != number) {
        fail(key, QStringLiteral("expected an integer, found %1").arg(number));
        return std::nullopt;
    }
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        fail(key, QStringLiteral("integer %1 is out of range").arg(number, 0, 'f', 0));
        return std::nullopt;
    }
    return static_cast<int>(number);
}

int JsonObjectReader::requiredInt(const QString& key) {
    return present(key) ? optionalInt(key).value_or(0) : 0;
}

std::optional<bool> JsonObjectReader::optionalBool(const QString& key) {
    const auto value = takeTyped(key, &QJsonValue::isBool, QStringLiteral("a Boolean"));
    return value ? std::optional<bool>(value->toBool()) : std::nullopt;
}

bool JsonObjectReader::requiredBool(const QString& key) {
    return present(key) && optionalBool(key).value_or(false);
}

DecodeResult<QJsonValue> JsonDecoder::parse(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return DecodeResult<QJsonValue>::failure(QStringLiteral("not valid JSON at offset %1: %2")
                                                     .arg(error.offset)
                                                     .arg(error.errorString()));
    if (document.isArray())
        return DecodeResult<QJsonValue>::success(document.array());
    if (document.isObject())
        return DecodeResult<QJsonValue>::success(document.object());
    return DecodeResult<QJsonValue>::failure(
        QStringLiteral("document: expected an object or an array"));
}
