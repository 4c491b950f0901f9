#include "doubles/LoopbackCloud.h"

#include "doubles/WaitFor.h"

#include <QHostAddress>
#include <QHttpServerRequest>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace {
QString methodName(QHttpServerRequest::Method method) {
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return QStringLiteral("GET");
    case QHttpServerRequest::Method::Put:
        return QStringLiteral("PUT");
    case QHttpServerRequest::Method::Delete:
        return QStringLiteral("DELETE");
    case QHttpServerRequest::Method::Post:
        return QStringLiteral("POST");
    case QHttpServerRequest::Method::Head:
        return QStringLiteral("HEAD");
    case QHttpServerRequest::Method::Options:
        return QStringLiteral("OPTIONS");
    case QHttpServerRequest::Method::Patch:
        return QStringLiteral("PATCH");
    default:
        return QStringLiteral("UNKNOWN");
    }
}

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}
} // namespace

QByteArray LoopbackCloud::Request::header(const QByteArray& name) const {
    for (const Header& h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    }
    return {};
}

bool LoopbackCloud::Request::hasHeader(const QByteArray& name) const {
    for (const Header& h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QJsonObject LoopbackCloud::Request::json() const {
    return QJsonDocument::fromJson(body).object();
}

LoopbackCloud::Reply LoopbackCloud::Reply::json(const QJsonDocument& document, int status) {
    return text(document.toJson(QJsonDocument::Compact), status)
        .withHeader("Content-Type", "application/json");
}

LoopbackCloud::Reply LoopbackCloud::Reply::json(const QJsonObject& object, int status) {
    return json(QJsonDocument(object), status);
}

LoopbackCloud::Reply LoopbackCloud::Reply::json(const QJsonArray& array, int status) {
    return json(QJsonDocument(array), status);
}

LoopbackCloud::Reply LoopbackCloud::Reply::text(const QByteArray& body, int status) {
    Reply reply;
    reply.status = status;
    reply.body = body;
    return reply;
}

LoopbackCloud::Reply LoopbackCloud::Reply::empty(int status) {
    return text({}, status);
}

LoopbackCloud::Reply LoopbackCloud::Reply::dropConnection() {
    Reply reply;
    reply.kind = Kind::DropConnection;
    return reply;
}

LoopbackCloud::Reply LoopbackCloud::Reply::neverAnswer() {
    Reply reply;
    reply.kind = Kind::NeverAnswer;
    return reply;
}

LoopbackCloud::Reply& LoopbackCloud::Reply::after(int milliseconds) {
    delayMs = milliseconds;
    return *this;
}

LoopbackCloud::Reply& LoopbackCloud::Reply::withHeader(const QByteArray& name,
                                                       const QByteArray& value) {
    headers.append({name, value});
    return *this;
}

LoopbackCloud::LoopbackCloud(quint16 port, QObject* parent)
    : QAbstractHttpServer(parent), fallback_([](const Request&) { return Reply::empty(404); }) {
    port_ = listen(QHostAddress::LocalHost, port);
}

LoopbackCloud::~LoopbackCloud() = default;

QString LoopbackCloud::baseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

QString LoopbackCloud::url(const QString& path) const {
    return baseUrl() + path;
}

QString LoopbackCloud::routeKey(const QString& method, const QString& path) {
    return method.toUpper() + u' ' + path;
}

void LoopbackCloud::route(const QString& method, const QString& path, Handler handler) {
    routes_.insert(routeKey(method, path), std::move(handler));
}

void LoopbackCloud::route(const QString& method, const QString& path, const Reply& reply) {
    route(method, path, [reply](const Request&) { return reply; });
}

void LoopbackCloud::removeRoute(const QString& method, const QString& path) {
    routes_.remove(routeKey(method, path));
}

void LoopbackCloud::setFallback(Handler handler) {
    fallback_ = std::move(handler);
}

QList<LoopbackCloud::Request> LoopbackCloud::requestsTo(const QString& path) const {
    QList<Request> matching;
    for (const Request& request : log_) {
        if (request.path == path)
            matching.append(request);
    }
    return matching;
}

bool LoopbackCloud::waitForRequests(qsizetype count, int timeoutMs) const {
    return waitFor([this, count] { return log_.size() >= count; }, timeoutMs);
}

LoopbackCloud::Handler LoopbackCloud::handlerFor(const Request& request) const {
    if (auto exact = routes_.find(routeKey(request.method, request.path)); exact != routes_.end())
        return *exact;
    if (auto any = routes_.find(routeKey({}, request.path)); any != routes_.end())
        return *any;
    return fallback_;
}

bool LoopbackCloud::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    Request logged;
    logged.method = methodName(request.method());
    logged.path = request.url().path();
    logged.query = request.query();
    logged.headers = request.headers();
    logged.body = request.body();
    log_.append(logged);

    const Reply reply = handlerFor(logged)(logged);
    emit requestReceived(logged);

    if (reply.kind == Reply::Kind::NeverAnswer)
        return true;
    // Answer from the event loop, never from inside the server's own read handler, so that
    // dropping the connection cannot pull the socket from under it.
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(reply.delayMs, socket, [guard, reply] {
        if (guard)
            answer(guard, reply);
    });
    return true;
}

void LoopbackCloud::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    // handleRequest answers every request; this is only reached if the server asks anyway.
    handleRequest(request, socket);
}

void LoopbackCloud::answer(QTcpSocket* socket, const Reply& reply) {
    if (reply.kind == Reply::Kind::DropConnection) {
        socket->abort();
        return;
    }
    QByteArray out =
        "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    bool hasLength = false;
    for (const Header& h : reply.headers) {
        out += h.first + ": " + h.second + "\r\n";
        hasLength = hasLength || h.first.compare("Content-Length", Qt::CaseInsensitive) == 0;
    }
    if (!hasLength)
        out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    out += "\r\n" + reply.body;
    socket->write(out);
}
