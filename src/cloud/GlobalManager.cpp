#include "cloud/GlobalManager.h"

#include "cloud/Authentication.h"
#include "cloud/ComLibAuthentication.h"
#include "cloud/NetworkManager.h"
#include "cloud/OnceReadBody.h"
#include "cloud/ReplyMapping.h"
#include "cloud/RequestBuilder.h"
#include "core/AppConstants.h"
#include "platform/Continuation.h"
#include "platform/MainQueue.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {

struct Redirect {
    QUrl target;
    bool keepsBody; // 307 and 308 send the same request again; the others turn it into a GET
};

// Where an answer sends the request next, as a browser would follow it: a redirect status with
// a Location of http or https, never from https down to http.
std::optional<Redirect> redirectOf(const QNetworkReply& reply) {
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 301 && status != 302 && status != 303 && status != 307 && status != 308)
        return std::nullopt;
    const QByteArray location = reply.rawHeader("Location");
    if (location.isEmpty())
        return std::nullopt;
    const QUrl target = reply.url().resolved(QUrl::fromEncoded(location));
    const QString scheme = target.scheme().toLower();
    if (!target.isValid() || (scheme != u"http" && scheme != u"https") ||
        (reply.url().scheme() == u"https" && scheme == u"http"))
        return std::nullopt;
    return Redirect{target, status == 307 || status == 308};
}

bool sameOrigin(const QUrl& a, const QUrl& b) {
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && a.port() == b.port();
}

} // namespace

GlobalManager& GlobalManager::shared() {
    static GlobalManager* instance = [] {
        auto* manager = new GlobalManager;
        // The network access manager and every answer belong to the main thread.
        if (QCoreApplication::instance()) {
            manager->moveToThread(QCoreApplication::instance()->thread());
            qAddPostRoutine([] { GlobalManager::shared().closeNetwork(); });
        }
        return manager;
    }();
    return *instance;
}

void GlobalManager::closeNetwork() {
    if (!nam_)
        return;
    // No answer is handed out now: nothing is left to take it.
    for (QNetworkReply* reply : nam_->findChildren<QNetworkReply*>())
        reply->disconnect(this);
    delete nam_;
    nam_ = nullptr;
}

GlobalManager::GlobalManager() : nam_(new QNetworkAccessManager(this)) {
    connect(&NetworkManager::shared(), &NetworkManager::connectionChanged, this,
            [this](bool connected) {
                if (connected)
                    sendPendingAudit();
            });
}

void GlobalManager::sendOnce(const QNetworkRequest& request, HTTPMethod method,
                             const QByteArray& body, ReplyMapping::Style style,
                             APICompletion completion) {
    if (!MainQueue::isMainThread()) {
        MainQueue::async(this, [=, this] { sendOnce(request, method, body, style, completion); });
        return;
    }
    if (!nam_)
        return; // the application has ended
    QNetworkRequest wire(request);
    // Qt would follow a redirect by rewinding the body, which OnceReadBody refuses; each hop
    // is sent here as a request of its own instead.
    wire.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                      QNetworkRequest::ManualRedirectPolicy);
    // A GET carries an empty body too: without one, nothing would stop Qt resending it.
    auto* once = new OnceReadBody(body);
    QNetworkReply* reply = method == HTTPMethod::GET ? nam_->sendCustomRequest(wire, "GET", once)
                                                     : nam_->post(wire, once);
    once->setParent(reply);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, request, method, body, style, completion] {
                reply->deleteLater();
                const int hopsLeft = request.maximumRedirectsAllowed();
                if (const std::optional<Redirect> next = redirectOf(*reply); next && hopsLeft > 0) {
                    QNetworkRequest hop(request);
                    hop.setUrl(next->target);
                    // The bearer token is for the host it was issued for; another origin
                    // gets the request without it, as a browser would send it.
                    if (!sameOrigin(next->target, request.url()))
                        hop.setRawHeader(AppConstants::Http::authorization.toLatin1(), {});
                    hop.setMaximumRedirectsAllowed(hopsLeft - 1);
                    if (next->keepsBody) {
                        sendOnce(hop, method, body, style, completion);
                    } else {
                        hop.setHeader(QNetworkRequest::ContentTypeHeader, QVariant());
                        sendOnce(hop, HTTPMethod::GET, {}, style, completion);
                    }
                    return;
                }
                const APIResult result = ReplyMapping::map(*reply, style);
                if (completion)
                    completion(result);
            });
}

void GlobalManager::callAPI(const QString& urlString, HTTPMethod httpMethod,
                            const QVariantMap& parameters, ContentType contentType,
                            APICompletion completion) {
    dispatch(
        httpMethod,
        [=](const RequestBuilder::Credentials& credentials) {
            return RequestBuilder::build(urlString, httpMethod, parameters, contentType,
                                         credentials);
        },
        std::move(completion));
}

void GlobalManager::callAPI(const QString& urlString, const QByteArray& jsonBody,
                            APICompletion completion) {
    dispatch(
        HTTPMethod::POST,
        [=](const RequestBuilder::Credentials& credentials) {
            return RequestBuilder::buildJsonPost(urlString, jsonBody, credentials);
        },
        std::move(completion));
}

void GlobalManager::dispatch(HTTPMethod method, Builder build, APICompletion completion) {
    if (!completion)
        completion = [](const APIResult&) {};
    // Offline: say so at once and send nothing.
    if (!NetworkManager::shared().isConnected()) {
        completion(APIResult::failure(APIError::noInternetConnection()));
        return;
    }
    if (!MainQueue::isMainThread()) {
        MainQueue::async(this, [=, this] { send(method, build, completion); });
        return;
    }
    send(method, build, std::move(completion));
}

void GlobalManager::send(HTTPMethod method, const Builder& build, APICompletion completion) {
    const RequestBuilder::Credentials credentials{Authentication::shared().accessToken,
                                                  ComLibAuthentication::shared().token,
                                                  AppConstants::API::CommLib::baseURL()};
    auto built = build(credentials);
    if (auto* error = std::get_if<APIError>(&built)) {
        completion(APIResult::failure(*error));
        return;
    }
    const auto& request = std::get<RequestBuilder::Built>(built);
    sendOnce(request.request, method, request.body, ReplyMapping::Style::request,
             std::move(completion));
}

Task<QByteArray> GlobalManager::callAPI(QString urlString, HTTPMethod httpMethod,
                                        QVariantMap parameters, ContentType contentType) {
    const auto answer = Continuation<QByteArray>::make();
    callAPI(urlString, httpMethod, parameters, contentType, [answer](const APIResult& result) {
        if (result.ok())
            answer.resume(result.data());
        else
            answer.resume(std::make_exception_ptr(result.error()));
    });
    co_return co_await answer;
}
