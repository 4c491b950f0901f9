#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <optional>

// The cloud client's error. Every cloud request ends either in the answer's body or in one of
// these cases. It is also thrown by the awaitable request form.
class APIError : public std::exception {
public:
    enum class Kind {
        httpError,
        serializationError,
        other,
        invalidURL,
        noInternetConnection,
        noData
    };

    // A status outside 200 to 299, with the answer's body when the request kept one.
    static APIError httpError(int statusCode, std::optional<QByteArray> data);
    // The request could not be serialised; the text says why.
    static APIError serializationError(const QString& underlying);
    // A transport failure or an unreadable file; the text is the underlying error's.
    static APIError other(const QString& underlying);
    static APIError invalidURL();
    static APIError noInternetConnection();
    static APIError noData();

    Kind kind() const { return kind_; }
    bool is(Kind kind) const { return kind_ == kind; }
    // Status code of an httpError, 0 for the other cases.
    int statusCode() const { return statusCode_; }
    // The body of an httpError, when there is one.
    const std::optional<QByteArray>& data() const { return data_; }
    // What the underlying error said (serializationError and other); empty otherwise.
    const QString& underlyingDescription() const { return underlying_; }

    // The generic description of the case, the same for every error of that case.
    QString localizedDescription() const;
    const char* what() const noexcept override { return what_.constData(); }

private:
    APIError(Kind kind, int statusCode, std::optional<QByteArray> data, QString underlying);

    Kind kind_;
    int statusCode_ = 0;
    std::optional<QByteArray> data_;
    QString underlying_;
    QByteArray what_;
};
