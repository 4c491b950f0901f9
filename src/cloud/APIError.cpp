#include "cloud/APIError.h"

#include <utility>

APIError::APIError(Kind kind, int statusCode, std::optional<QByteArray> data, QString underlying)
    : kind_(kind), statusCode_(statusCode), data_(std::move(data)),
      underlying_(std::move(underlying)), what_(localizedDescription().toUtf8()) {}

APIError APIError::httpError(int statusCode, std::optional<QByteArray> data) {
    return APIError(Kind::httpError, statusCode, std::move(data), {});
}

APIError APIError::serializationError(const QString& underlying) {
    return APIError(Kind::serializationError, 0, std::nullopt, underlying);
}

APIError APIError::other(const QString& underlying) {
    return APIError(Kind::other, 0, std::nullopt, underlying);
}

APIError APIError::invalidURL() {
    return APIError(Kind::invalidURL, 0, std::nullopt, {});
}

APIError APIError::noInternetConnection() {
    return APIError(Kind::noInternetConnection, 0, std::nullopt, {});
}

APIError APIError::noData() {
    return APIError(Kind::noData, 0, std::nullopt, {});
}

QString APIError::localizedDescription() const {
    // The case's number is its position in the list of cases.
    return QStringLiteral("The operation couldn\u2019t be completed. (Pellory.APIError error %1.)")
        .arg(static_cast<int>(kind_));
}
