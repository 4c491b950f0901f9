#include "cloud/GlobalManager.h"

#include "cloud/Authentication.h"
#include "cloud/ComLibAuthentication.h"
#include "cloud/NetworkManager.h"
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

QNetworkAccessManager& GlobalManager::networkAccessManager() {
    return *nam_;
}

void GlobalManager::callAPI(const QString& urlString, HTTPMethod httpMethod,
                            const QVariantMap& parameters, ContentType contentType,
                            APICompletion completion) {
    if (!completion)
        completion = [](const APIResult&) {};
    // Offline: say so at once and send nothing.
    if (!NetworkManager::shared().isConnected()) {
        completion(APIResult::failure(APIError::noInternetConnection()));
        return;
    }
    if (!MainQueue::isMainThread()) {
        MainQueue::async(
            this, [=, this] { send(urlString, httpMethod, parameters, contentType, completion); });
        return;
    }
    send(urlString, httpMethod, parameters, contentType, std::move(completion));
}

void GlobalManager::send(const QString& urlString, HTTPMethod method, const QVariantMap& parameters,
                         ContentType contentType, APICompletion completion) {
    const RequestBuilder::Credentials credentials{Authentication::shared().accessToken,
                                                  ComLibAuthentication::shared().token,
                                                  AppConstants::API::CommLib::baseURL()};
    auto built = RequestBuilder::build(urlString, method, parameters, contentType, credentials);
    if (auto* error = std::get_if<APIError>(&built)) {
        completion(APIResult::failure(*error));
        return;
    }
    const auto& request = std::get<RequestBuilder::Built>(built);
    QNetworkReply* reply = method == HTTPMethod::GET ? nam_->get(request.request)
                                                     : nam_->post(request.request, request.body);
    deliver(reply, ReplyMapping::Style::request, std::move(completion));
}

void GlobalManager::deliver(QNetworkReply* reply, ReplyMapping::Style style,
                            APICompletion completion) {
    connect(reply, &QNetworkReply::finished, this, [reply, style, completion] {
        const APIResult result = ReplyMapping::map(*reply, style);
        reply->deleteLater();
        completion(result);
    });
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
