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

GlobalManager& GlobalManager::shared() {
    static GlobalManager* instance = [] {
        auto* manager = new GlobalManager;
        // The network access manager and every answer belong to the main thread.
        if (QCoreApplication::instance())
            manager->moveToThread(QCoreApplication::instance()->thread());
        return manager;
    }();
    return *instance;
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
    // A GET carries an empty body too: without one, nothing would stop Qt resending it.
    auto* once = new OnceReadBody(body);
    QNetworkReply* reply = method == HTTPMethod::GET ? nam_->sendCustomRequest(request, "GET", once)
                                                     : nam_->post(request, once);
    once->setParent(reply);
    once->setReply(reply);
    connect(reply, &QNetworkReply::finished, this, [reply, style, completion] {
        const APIResult result = ReplyMapping::map(*reply, style);
        reply->deleteLater();
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
