#pragma once

#include "cloud/APIResult.h"
#include "cloud/ReplyMapping.h"
#include "cloud/RequestBuilder.h"
#include "core/AppConstants.h"
#include "platform/RegularFile.h"
#include "platform/Task.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <variant>

class QNetworkAccessManager;
class QNetworkRequest;

// The HTTP client that cloud requests go through. Lives on the main thread; every answer is
// delivered there, from the event loop, never from inside the call that sent the request.
// Failures found before anything is sent (no connection, a bad address) are reported at
// once, on the calling thread.
class GlobalManager : public QObject {
    Q_OBJECT
public:
    static GlobalManager& shared();

    // Sends one request: the parameters as a JSON object (or form-encoded) in the body of a
    // POST, or in the address of a GET. Carries "Authorization: Bearer <token>" once the user
    // has signed in, with the comm-library token for comm-library addresses. Gives up after
    // 60 s without progress. Not retried.
    void callAPI(const QString& urlString, HTTPMethod httpMethod, const QVariantMap& parameters,
                 ContentType contentType, APICompletion completion);
    void callAPI(const QString& urlString, HTTPMethod httpMethod, const QVariantMap& parameters,
                 APICompletion completion) {
        callAPI(urlString, httpMethod, parameters, ContentType::json, std::move(completion));
    }

    // The same for a POST whose JSON body the caller has written already (a large one need not
    // go through a QVariantMap).
    void callAPI(const QString& urlString, const QByteArray& jsonBody, APICompletion completion);

    // The same, awaited: gives the answer's body or throws the APIError.
    Task<QByteArray> callAPI(QString urlString, HTTPMethod httpMethod, QVariantMap parameters,
                             ContentType contentType = ContentType::json);

    // Uploads a file of the application folder to the support page as a multipart form,
    // without an Authorization header. A missing file is sent as an empty file part; a file
    // larger than maxBytes fails with `other`.
    void uploadCSVFile(const QString& to, const QString& filename, APICompletion completion,
                       qint64 maxBytes = RegularFile::maxReadBytes);
    // The same from a given folder; without a folder the upload fails with `other`.
    void uploadFile(const QString& to, const std::optional<QString>& folder,
                    const QString& filename, APICompletion completion,
                    qint64 maxBytes = RegularFile::maxReadBytes);

    // Records one audited step with the cloud, in the background, when the cloud's message
    // catalogue holds the code. Offline, the record waits in the settings store (the last
    // one wins) and is sent when the connection returns.
    void
    setAuditHistory(const QString& code,
                    const QString& zubStateID = AppConstants::API::Host::AuditRecord::stateDefault);
    // Sends the waiting audit record, if there is one and the computer is connected.
    void sendPendingAudit();

    // An audit record on its way to the cloud (see GlobalManagerAudit.cpp for the rules of the
    // waiting slot).
    struct AuditPost {
        QVariantMap record;
        // What the waiting slot held when the record was read from it; empty for a step just
        // taken.
        QString readFromSlot;
        // The slot held a code alone, left by another build: the record was made for it when
        // it was read, so the moment of its step is unknown.
        bool stepMomentUnknown = false;
    };

    // The way out to the network for every request, those built elsewhere included (the quiz
    // builds its own): sends it once and never again, even when Qt would resend it after a
    // dropped connection, and hands the outcome, mapped in the given style, to the completion
    // on the main thread. Call on the main thread.
    void sendOnce(const QNetworkRequest& request, HTTPMethod method, const QByteArray& body,
                  ReplyMapping::Style style, APICompletion completion);

private:
    GlobalManager();

    // Makes the request, given the tokens of the moment of sending.
    using Builder = std::function<std::variant<RequestBuilder::Built, APIError>(
        const RequestBuilder::Credentials&)>;
    // Every request goes through here: offline, or on another thread, and then send().
    void dispatch(HTTPMethod method, Builder build, APICompletion completion);
    void send(HTTPMethod method, const Builder& build, APICompletion completion);
    void postAudit(const AuditPost& post);
    // Run as the application object is destroyed: the network access manager's thread must not
    // outlive it, or its last socket events reach an application that is gone. Requests still
    // on their way stay unanswered, as they already were once the event loop had stopped, and
    // none is sent after.
    void closeNetwork();

    QNetworkAccessManager* nam_ = nullptr;
    // What the waiting slot held when its record was sent, while that post waits for its answer.
    QString slotInFlight_;
};
