#pragma once

#include "cloud/APIError.h"
#include "cloud/APIResult.h"

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>
#include <QVariantMap>

#include <optional>
#include <variant>

// Turns a cloud call into the request that goes on the wire. Nothing here sends anything.
namespace RequestBuilder {

// The tokens a request may carry, and where the comm-library service lives.
struct Credentials {
    QString userAccessToken; // the signed-in user's token; empty before sign-in
    QString commLibToken;
    QString commLibBaseURL;
};

struct Built {
    QNetworkRequest request;
    QByteArray verb; // "GET" or "POST"
    QByteArray body; // empty for GET
};

// Every request is given up after this many seconds without progress.
inline constexpr double requestTimeoutSeconds = 60.0;

// An absolute http or https address with a host, or nothing.
std::optional<QUrl> parseURL(const QString& urlString);

// Whether the address lies under the comm-library base (an empty base holds nothing).
bool isCommLibAddress(const QString& urlString, const QString& commLibBaseURL);

// The bearer token for the address, or empty text when no Authorization header is sent:
// nothing is sent before sign-in; comm-library addresses get the comm-library token, every
// other address the user's token.
QString bearerTokenFor(const QString& urlString, const Credentials& credentials);

// The body of the parameters as one JSON object, or a serialisation error.
std::variant<QByteArray, APIError> jsonBody(const QVariantMap& parameters);
// The parameters form-encoded ("a=1&b=2", lists as repeated keys), or a serialisation error.
std::variant<QByteArray, APIError> formBody(const QVariantMap& parameters);

// The whole request, or invalidURL / serializationError.
std::variant<Built, APIError> build(const QString& urlString, HTTPMethod method,
                                    const QVariantMap& parameters, ContentType contentType,
                                    const Credentials& credentials);
// A POST of a JSON body that the caller has written already; the body is shared, not copied.
std::variant<Built, APIError> buildJsonPost(const QString& urlString, const QByteArray& jsonBody,
                                            const Credentials& credentials);

} // namespace RequestBuilder
