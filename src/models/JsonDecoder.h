#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

// Strict decoding of the cloud's JSON records, one rule for every record:
// - a required key that is missing, null or of the wrong type fails the whole document;
// - an optional key that is missing or null gives no value; present with the wrong type it
//   fails the document;
// - an array decodes all or nothing: one bad element fails it;
// - integers must be integral JSON numbers within the range of int;
// - keys the record does not know are ignored.
// Nothing throws: a failure is a DecodeResult without value and with a message that names
// the offending key, e.g. "QuizQuestions[2].QuestionID: required key is missing".
//
// A record T takes part by providing `static T decode(JsonObjectReader& reader)`, reading its
// keys through the reader; it may return any value once the reader has failed.

template <typename T> class DecodeResult {
public:
    static DecodeResult success(T value) { return DecodeResult(std::move(value), {}); }
    static DecodeResult failure(QString error) { return DecodeResult(std::nullopt, error); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only after ok() said so.
    const T& value() const& {
        Q_ASSERT(ok());
        return *value_;
    }
    T&& value() && {
        Q_ASSERT(ok());
        return std::move(*value_);
    }
    const std::optional<T>& optional() const { return value_; }
    // Empty when the decoding succeeded.
    const QString& error() const { return error_; }

private:
    DecodeResult(std::optional<T> value, QString error)
        : value_(std::move(value)), error_(std::move(error)) {}
    std::optional<T> value_;
    QString error_;
};

class JsonObjectReader {
public:
    JsonObjectReader(QJsonObject object, QString path);

    QString requiredString(const QString& key);
    std::optional<QString> optionalString(const QString& key);
    int requiredInt(const QString& key);
    std::optional<int> optionalInt(const QString& key);
    bool requiredBool(const QString& key);
    std::optional<bool> optionalBool(const QString& key);

    template <typename T> QList<T> requiredArray(const QString& key);
    template <typename T> std::optional<QList<T>> optionalArray(const QString& key);

    bool failed() const { return !error_.isEmpty(); }
    const QString& error() const { return error_; }
    // Where this object sits in the document ("" for the root).
    const QString& path() const { return path_; }

private:
    // The value under key, or nothing (after recording a failure when required) when it is
    // missing or null.
    std::optional<QJsonValue> take(const QString& key, bool required);
    // Records a failure when key is missing or null.
    bool present(const QString& key);
    // The value under key when it is there and of the expected type; a value of another type
    // records a failure.
    std::optional<QJsonValue> takeTyped(const QString& key, bool (QJsonValue::*isType)() const,
                                        const QString& expected);
    void fail(const QString& key, const QString& message);
    QString pathOf(const QString& key) const;
    template <typename T> std::optional<QList<T>> array(const QString& key, bool required);

    QJsonObject object_;
    QString path_;
    QString error_;
};

namespace JsonDecoder {

// Decodes one record from a JSON value found at path.
template <typename T> DecodeResult<T> decodeValue(const QJsonValue& value, const QString& path) {
    if (!value.isObject())
        return DecodeResult<T>::failure((path.isEmpty() ? QStringLiteral("document") : path) +
                                        QStringLiteral(": expected an object"));
    JsonObjectReader reader(value.toObject(), path);
    T record = T::decode(reader);
    if (reader.failed())
        return DecodeResult<T>::failure(reader.error());
    return DecodeResult<T>::success(std::move(record));
}

// Decodes every element of a JSON array; the first failing element fails the whole list.
template <typename T>
DecodeResult<QList<T>> decodeArrayValue(const QJsonValue& value, const QString& path) {
    if (!value.isArray())
        return DecodeResult<QList<T>>::failure(
            (path.isEmpty() ? QStringLiteral("document") : path) +
            QStringLiteral(": expected an array"));
    const QJsonArray array = value.toArray();
    QList<T> records;
    records.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        DecodeResult<T> element = decodeValue<T>(
            array.at(i), path + QLatin1Char('[') + QString::number(i) + QLatin1Char(']'));
        if (!element)
            return DecodeResult<QList<T>>::failure(element.error());
        records.append(std::move(element).value());
    }
    return DecodeResult<QList<T>>::success(std::move(records));
}

// Parses bytes as JSON; on failure the message says where and why.
DecodeResult<QJsonValue> parse(const QByteArray& json);

// A whole document holding one record.
template <typename T> DecodeResult<T> decodeObject(const QByteArray& json) {
    DecodeResult<QJsonValue> parsed = parse(json);
    if (!parsed)
        return DecodeResult<T>::failure(parsed.error());
    return decodeValue<T>(parsed.value(), {});
}

// A whole document holding an array of records.
template <typename T> DecodeResult<QList<T>> decodeArray(const QByteArray& json) {
    DecodeResult<QJsonValue> parsed = parse(json);
    if (!parsed)
        return DecodeResult<QList<T>>::failure(parsed.error());
    return decodeArrayValue<T>(parsed.value(), {});
}

} // namespace JsonDecoder

template <typename T>
std::optional<QList<T>> JsonObjectReader::array(const QString& key, bool required) {
    const std::optional<QJsonValue> value = take(key, required);
    if (!value)
        return std::nullopt;
    DecodeResult<QList<T>> list = JsonDecoder::decodeArrayValue<T>(*value, pathOf(key));
    if (!list) {
        if (!failed())
            error_ = list.error();
        return std::nullopt;
    }
    return std::move(list).value();
}

template <typename T> QList<T> JsonObjectReader::requiredArray(const QString& key) {
    return array<T>(key, true).value_or(QList<T>());
}

template <typename T> std::optional<QList<T>> JsonObjectReader::optionalArray(const QString& key) {
    return array<T>(key, false);
}
