#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// Why an answer of the comm-library cloud could not be used.
struct AnswerError {
    QString domain;
    int code = 0;
    QString description;
    // The body is not JSON at all (the parser's error), rather than JSON without the member.
    bool unparsable = false;
};

template <class T> class AnswerResult {
public:
    AnswerResult(T value) : value_(std::move(value)) {}
    AnswerResult(AnswerError error) : error_(std::move(error)) {}

    bool ok() const { return value_.has_value(); }
    const T& value() const { return *value_; }
    const AnswerError& error() const { return error_; }

private:
    std::optional<T> value_;
    AnswerError error_;
};

// Reading the cloud's answers during a support upload. Each takes the response body and
// yields the member the run needs, or an error saying why the body is unusable.
namespace CloudAnswer {

// A command request: {"bytes": "<base64 command>"}. An empty command is refused: writing it
// would send nothing and no reply could come.
AnswerResult<QString> command(const QByteArray& body);

// A list request: {"bytes": ["<base64>", ...]}, possibly empty; every entry must be a
// non-empty text.
AnswerResult<QStringList> commandList(const QByteArray& body);

// The header request: {"csv": "<text>"}.
AnswerResult<QString> headerCsv(const QByteArray& body);

// A log's data: {"csv": "<text>"}, with the log stage's own errors.
AnswerResult<QString> logCsv(const QByteArray& body);

// The log types: a JSON object from log-type id to log name.
AnswerResult<QJsonObject> logTypes(const QByteArray& body);

} // namespace CloudAnswer
