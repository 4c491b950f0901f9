#include "cloud/ReplyMapping.h"

#include <QNetworkReply>

namespace {

// Errors that QNetworkReply derives from an HTTP status (the 2xx and 4xx ranges of its
// codes); every other error is a failure of the transfer itself.
bool isStatusError(QNetworkReply::NetworkError error) {
    const int code = static_cast<int>(error);
    return (code > 200 && code < 300) || (code > 400 && code < 500);
}

// The transport failures that mean the computer has lost its connection.
bool isConnectionLoss(QNetworkReply::NetworkError error) {
    return error == QNetworkReply::TemporaryNetworkFailureError ||
           error == QNetworkReply::NetworkSessionFailedError;
}

} // namespace

APIResult ReplyMapping::map(QNetworkReply& reply, Style style) {
    const QNetworkReply::NetworkError error = reply.error();
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);

    if (error != QNetworkReply::NoError && (!status.isValid() || !isStatusError(error))) {
        if (style == Style::request && isConnectionLoss(error))
            return APIResult::failure(APIError::noInternetConnection());
        return APIResult::failure(APIError::other(reply.errorString()));
    }

    const int statusCode = status.toInt();
    const QByteArray body = reply.readAll();
    if (statusCode < 200 || statusCode > 299) {
        return APIResult::failure(APIError::httpError(
            statusCode, style == Style::request ? std::optional<QByteArray>(body) : std::nullopt));
    }
    if (body.isEmpty())
        return APIResult::failure(APIError::noData());
    return APIResult::success(body);
}
