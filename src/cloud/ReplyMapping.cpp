#include "cloud/ReplyMapping.h"

#include <QNetworkReply>

namespace {

// The transport failures that mean the computer has lost its connection.
bool isConnectionLoss(QNetworkReply::NetworkError error) {
    return error == QNetworkReply::TemporaryNetworkFailureError ||
           error == QNetworkReply::NetworkSessionFailedError;
}

} // namespace

APIResult ReplyMapping::map(QNetworkReply& reply, Style style) {
    const QNetworkReply::NetworkError error = reply.error();
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);

    // A status outside 2xx means the server answered: that is an HTTP error whatever network
    // error Qt derives from it (a 400, for one, comes as a protocol error). Any other failure,
    // including one after a 2xx status, is a failure of the transfer itself.
    const bool errorStatus = status.isValid() && (status.toInt() < 200 || status.toInt() > 299);
    if (error != QNetworkReply::NoError && !errorStatus) {
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
