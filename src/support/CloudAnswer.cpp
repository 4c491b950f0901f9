#include "support/CloudAnswer.h"

#include "core/AppConstants.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

namespace {

namespace Keys = AppConstants::CommLibKeys;
namespace Texts = AppConstants::SupportUpload;

AnswerError unusableAnswer() {
    return {Texts::apiErrorDomain, 1, Texts::failedToExtractCommand};
}

AnswerError emptyCommand() {
    return {Texts::apiErrorDomain, 2, QStringLiteral("The cloud sent an empty command.")};
}

// The parsed document, or the parser's error.
AnswerResult<QJsonDocument> parse(const QByteArray& body) {
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        return AnswerError{QStringLiteral("QJsonParseError"), static_cast<int>(error.error),
                           error.errorString() + QStringLiteral(" at offset ") +
                               QString::number(error.offset),
                           true};
    }
    return document;
}

// The root object's text member, or the error to report when the body lacks it.
AnswerResult<QString> textMember(const QByteArray& body, const QString& key,
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

} // namespace

AnswerResult<QString> CloudAnswer::command(const QByteArray& body) {
    auto text = textMember(body, Keys::bytes, unusableAnswer(), unusableAnswer());
    if (text.ok() && text.value().isEmpty())
        return emptyCommand();
    return text;
}

AnswerResult<QStringList> CloudAnswer::commandList(const QByteArray& body) {
    const auto document = parse(body);
    if (!document.ok())
        return document.error();
    const QJsonValue list = document.value().object().value(Keys::bytes);
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
    return textMember(body, Keys::csv, unusableAnswer(), unusableAnswer());
}

AnswerResult<QString> CloudAnswer::logCsv(const QByteArray& body) {
    return textMember(body, Keys::csv, {Texts::jsonErrorDomain, -1, Texts::invalidJsonStructure},
                      {Texts::csvErrorDomain, -1, Texts::noCsvDataFound});
}

AnswerResult<QJsonObject> CloudAnswer::logTypes(const QByteArray& body) {
    const auto document = parse(body);
    if (!document.ok())
        return document.error();
    if (!document.value().isObject())
        return unusableAnswer();
    return document.value().object();
}
