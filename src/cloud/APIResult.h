#pragma once

#include "cloud/APIError.h"

#include <QByteArray>

#include <functional>
#include <variant>

// The outcome of one cloud request: the answer's body, or an APIError.
class APIResult {
public:
    static APIResult success(QByteArray data) { return APIResult(std::move(data)); }
    static APIResult failure(APIError error) { return APIResult(std::move(error)); }

    bool ok() const { return std::holds_alternative<QByteArray>(value_); }
    // Only meaningful when ok().
    const QByteArray& data() const { return std::get<QByteArray>(value_); }
    // Only meaningful when !ok().
    const APIError& error() const { return std::get<APIError>(value_); }

private:
    explicit APIResult(QByteArray data) : value_(std::move(data)) {}
    explicit APIResult(APIError error) : value_(std::move(error)) {}

    std::variant<QByteArray, APIError> value_;
};

using APICompletion = std::function<void(const APIResult&)>;

// The request method and the body's encoding.
enum class HTTPMethod { GET, POST };
enum class ContentType { json, formUrlEncoded };
