#include "support/CloudAnswer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

namespace {

AnswerError unusableAnswer() {
    return {QStringLiteral("APIError"), 1,
            QStringLiteral("Failed to parse JSON or extract command data.")};
}

AnswerError emptyCommand() {
    return {QStringLiteral("APIError"), 2, QStringLiteral("The cloud sent an empty command.")};
}

// The parsed document, or the parser's error.
AnswerResult<QJsonDocument> parse(const QByteArray& body) {
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        return AnswerError{QStringLiteral("QJsonParseError"), static_cast<int>(error.error),
                           error.errorString() + QStringLiteral(" at offset ") +
                               QString::number(error.offset)};
    }
    return document;
}

// The root object's text member, or the error to report when the body lacks it.
AnswerResult<QString> textMember(const QByteArray& body, QLatin1StringView key,
                                 const AnswerError& notObject, const AnswerError& noText) {
    const auto document = parse(body);
    if (!document.ok())
        return document.error();
    if (!document.value().isObject())
        return notObject;
    const QJsonValue value = document.value().object().value(key);
    if (!value.isString())
        return noText;
    return value.toString();
}

const QLatin1StringView bytesKey("bytes");
const QLatin1StringView csvKey("csv");

} // namespace

AnswerResult<QString> CloudAnswer::command(const QByteArray& body) {
    auto text = textMember(body, bytesKey, unusableAnswer(), unusableAnswer());
    if (text.ok() && text.value().isEmpty())
        return emptyCommand();
    return text;
}

AnswerResult<QStringList> CloudAnswer::commandList(const QByteArray& body) {
    const auto document = parse(body);
    if (!document.ok())
        return document.error();
    const QJsonValue list = document.value().object().value(bytesKey);
    if (!document.value().isObject() || !list.isArray())
        return unusableAnswer();
    QStringList commands;
    for (const QJsonValue& entry : list.toArray()) {
        if (!entry.isString())
            return unusableAnswer();
        if (entry.toString().isEmpty())
            return emptyCommand();
        commands.append(entry.toString());
    }
    return commands;
}

AnswerResult<QString> CloudAnswer::headerCsv(const QByteArray& body) {
    return textMember(body, csvKey, unusableAnswer(), unusableAnswer());
}

AnswerResult<QString> CloudAnswer::logCsv(const QByteArray& body) {
    return textMember(
        body, csvKey, {QStringLiteral("JSONError"), -1, QStringLiteral("Invalid JSON structure.")},
        {QStringLiteral("CSVError"), -1, QStringLiteral("No CSV data found in response.")});
}

AnswerResult<QJsonObject> CloudAnswer::logTypes(const QByteArray& body) {
    const auto document = parse(body);
    if (!document.ok())
        return document.error();
    if (!document.value().isObject())
        return unusableAnswer();
    return document.value().object();
}
