#include "cloud/RequestBuilder.h"

#include "core/AppConstants.h"
#include "platform/TimeScale.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

namespace {

bool isScalar(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// The values the cloud's JSON can carry: text, numbers, Booleans, and lists and maps of them.
std::optional<QString> unsupportedJsonType(const QVariant& value) {
    if (isScalar(value) || value.typeId() == QMetaType::QStringList)
        return std::nullopt;
    if (value.typeId() == QMetaType::QVariantList) {
        for (const QVariant& element : value.toList()) {
            if (auto bad = unsupportedJsonType(element))
                return bad;
        }
        return std::nullopt;
    }
    if (value.typeId() == QMetaType::QVariantMap) {
        const QVariantMap map = value.toMap();
        for (const QVariant& element : map) {
            if (auto bad = unsupportedJsonType(element))
                return bad;
        }
        return std::nullopt;
    }
    return QString::fromUtf8(value.metaType().name() ? value.metaType().name() : "null");
}

APIError invalidType(const QString& typeName) {
    return APIError::serializationError(
        QStringLiteral("Invalid type in request parameters (%1)").arg(typeName));
}

QByteArray formPair(const QString& key, const QString& value) {
    return QUrl::toPercentEncoding(key) + '=' + QUrl::toPercentEncoding(value);
}

QString scalarText(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return value.toString();
}

} // namespace

std::optional<QUrl> RequestBuilder::parseURL(const QString& urlString) {
    const QUrl url(urlString, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https")
        return std::nullopt;
    return url;
}

bool RequestBuilder::isCommLibAddress(const QString& urlString, const QString& commLibBaseURL) {
    if (commLibBaseURL.isEmpty() || !urlString.startsWith(commLibBaseURL))
        return false;
    if (commLibBaseURL.endsWith(u'/') || urlString.size() == commLibBaseURL.size())
        return true;
    // "…/commlib" holds "…/commlib/x" and "…/commlib?x", not "…/commlibrary".
    const QChar next = urlString.at(commLibBaseURL.size());
    return next == u'/' || next == u'?' || next == u'#';
}

QString RequestBuilder::bearerTokenFor(const QString& urlString, const Credentials& credentials) {
    if (credentials.userAccessToken.isEmpty())
        return {};
    if (isCommLibAddress(urlString, credentials.commLibBaseURL))
        return credentials.commLibToken;
    return credentials.userAccessToken;
}

std::variant<QByteArray, APIError> RequestBuilder::jsonBody(const QVariantMap& parameters) {
    for (const QVariant& value : parameters) {
        if (auto bad = unsupportedJsonType(value))
            return invalidType(*bad);
    }
    return QJsonDocument(QJsonObject::fromVariantMap(parameters)).toJson(QJsonDocument::Compact);
}

std::variant<QByteArray, APIError> RequestBuilder::formBody(const QVariantMap& parameters) {
    QByteArrayList pairs;
    for (auto it = parameters.begin(); it != parameters.end(); ++it) {
        const QVariant& value = it.value();
        if (isScalar(value)) {
            pairs.append(formPair(it.key(), scalarText(value)));
            continue;
        }
        if (value.typeId() != QMetaType::QStringList && value.typeId() != QMetaType::QVariantList)
            return invalidType(QString::fromUtf8(value.metaType().name()));
        for (const QVariant& element : value.toList()) {
            if (!isScalar(element))
                return invalidType(QString::fromUtf8(element.metaType().name()));
            pairs.append(formPair(it.key(), scalarText(element)));
        }
    }
    return pairs.join('&');
}

namespace {

// Headers and time-out, the same for every request however its body was made.
RequestBuilder::Built assemble(QUrl url, HTTPMethod method, const QByteArray& payload,
                               ContentType contentType, const QString& urlString,
                               const RequestBuilder::Credentials& credentials) {
    RequestBuilder::Built built;
    if (method == HTTPMethod::GET) {
        // A GET carries its parameters in the address.
        if (!payload.isEmpty()) {
            const QByteArray existing = url.query(QUrl::FullyEncoded).toUtf8();
            url.setQuery(QString::fromUtf8(existing.isEmpty() ? payload : existing + '&' + payload),
                         QUrl::StrictMode);
        }
        built.verb = "GET";
    } else {
        built.verb = "POST";
        built.body = payload;
    }

    built.request.setUrl(url);
    if (method == HTTPMethod::POST) {
        const QString& type = contentType == ContentType::json ? AppConstants::Http::applicationJson
                                                               : AppConstants::Http::formUrlEncoded;
        built.request.setRawHeader(AppConstants::Http::contentType.toUtf8(), type.toUtf8());
    }
    const QString token = RequestBuilder::bearerTokenFor(urlString, credentials);
    if (!token.isEmpty())
        built.request.setRawHeader(AppConstants::Http::authorization.toUtf8(),
                                   (AppConstants::Http::bearerPrefix + token).toUtf8());
    built.request.setTransferTimeout(
        TimeScale::milliseconds(RequestBuilder::requestTimeoutSeconds));
    return built;
}

} // namespace

std::variant<RequestBuilder::Built, APIError>
RequestBuilder::build(const QString& urlString, HTTPMethod method, const QVariantMap& parameters,
                      ContentType contentType, const Credentials& credentials) {
    std::optional<QUrl> url = parseURL(urlString);
    if (!url)
        return APIError::invalidURL();

    std::variant<QByteArray, APIError> encoded =
        contentType == ContentType::json && method == HTTPMethod::POST ? jsonBody(parameters)
                                                                       : formBody(parameters);
    if (auto* error = std::get_if<APIError>(&encoded))
        return *error;
    return assemble(*url, method, std::get<QByteArray>(encoded), contentType, urlString,
                    credentials);
}

std::variant<RequestBuilder::Built, APIError>
RequestBuilder::buildJsonPost(const QString& urlString, const QByteArray& jsonBody,
                              const Credentials& credentials) {
    std::optional<QUrl> url = parseURL(urlString);
    if (!url)
        return APIError::invalidURL();
    return assemble(*url, HTTPMethod::POST, jsonBody, ContentType::json, urlString, credentials);
}
