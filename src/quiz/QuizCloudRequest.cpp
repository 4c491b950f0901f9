#include "quiz/QuizCloudRequest.h"

#include "cloud/Authentication.h"
#include "cloud/GlobalManager.h"
#include "cloud/ReplyMapping.h"
#include "cloud/RequestBuilder.h"
#include "core/AppConstants.h"
#include "platform/TimeScale.h"

#include <QNetworkRequest>

namespace Http = AppConstants::Http;

void QuizCloudRequest::post(const QString& urlString, const QString& contentType,
                            const QByteArray& body, APICompletion completion) {
    const std::optional<QUrl> url = RequestBuilder::parseURL(urlString);
    if (!url) {
        if (completion)
            completion(APIResult::failure(APIError::invalidURL()));
        return;
    }
    QNetworkRequest request(*url);
    request.setRawHeader(Http::contentType.toUtf8(), contentType.toUtf8());
    request.setRawHeader(Http::authorization.toUtf8(),
                         (Http::bearerPrefix + Authentication::shared().accessToken).toUtf8());
    request.setTransferTimeout(TimeScale::milliseconds(RequestBuilder::requestTimeoutSeconds));
    GlobalManager::shared().sendOnce(request, HTTPMethod::POST, body, ReplyMapping::Style::request,
                                     std::move(completion));
}

std::optional<QByteArray> QuizCloudRequest::answerBody(const APIResult& result) {
    if (result.ok())
        return result.data();
    if (result.error().is(APIError::Kind::httpError))
        return result.error().data();
    return std::nullopt;
}
