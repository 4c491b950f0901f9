#include "cloud/ReplyMapping.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"

bool ReplyMapping::meansOffline(QNetworkReply::NetworkError error) {
    switch (error) {
    // The connection dropped before the answer was complete.
    case QNetworkReply::RemoteHostClosedError:
    // The same, when Qt wanted to send the request again and was not let (see OnceReadBody).
    case QNetworkReply::ContentReSendError:
    // The socket's own "network error": host or network unreachable, the cable pulled out.
    case QNetworkReply::UnknownNetworkError:
    // The system's network session broke or could not start.
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return true;
    default:
        // The host refused or could not be found, the request timed out or was cancelled, TLS,
        // proxies, redirects and the protocol: the network was there, something else failed.
        return false;
    }
}

APIResult ReplyMapping::map(QNetworkReply& reply, Style style) {
    const QNetworkReply::NetworkError error = reply.error();
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);

    // A status outside 2xx means the server answered: that is an HTTP error whatever network
    // error Qt derives from it (a 400, for one, comes as a protocol error). Any other failure,
    // including one after a 2xx status, is a failure of the transfer itself.
    const bool errorStatus = status.isValid() && (status.toInt() < 200 || status.toInt() > 299);
    if (error != QNetworkReply::NoError && !errorStatus) {
        if (style == Style::request &&
            (meansOffline(error) || !NetworkManager::shared().isConnected()))
            return APIResult::failure(APIError::noInternetConnection());
        // Qt has no text of its own for a resend it was refused.
        return APIResult::failure(APIError::other(error == QNetworkReply::ContentReSendError
                                                      ? AppConstants::Http::connectionLost
                                                      : reply.errorString()));
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
