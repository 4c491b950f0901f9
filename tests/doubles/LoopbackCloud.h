#pragma once

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QHash>
#include <QJsonDocument>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrlQuery>

#include <functional>

class QHttpServerRequest;
class QTcpSocket;

// A stand-in for the maker's cloud: an HTTP server on 127.0.0.1 that answers each path (and
// method) with what a test has set up, and keeps a log of every request it received.
//
//   LoopbackCloud cloud;
//   cloud.route("POST", "/api/zub/SendZubEmail", LoopbackCloud::Reply::json(QJsonObject{}));
//   cloud.route("GET", "/slow", LoopbackCloud::Reply::text("late").after(200));
//   callSomething(cloud.url("/api/zub/SendZubEmail"));
//   ASSERT_TRUE(cloud.waitForRequests(1));
//   EXPECT_EQ(cloud.requests().first().json()["subject"], ...);
//
// Paths without a route get the fallback answer, by default 404 with an empty body.
class LoopbackCloud : public QAbstractHttpServer {
    Q_OBJECT
public:
    using Header = QPair<QByteArray, QByteArray>;

    // One request as it arrived.
    struct Request {
        QString method; // "GET", "POST", ...
        QString path;
        QUrlQuery query;
        QList<Header> headers;
        QByteArray body;

        // Header value by case-insensitive name; empty when absent.
        QByteArray header(const QByteArray& name) const;
        bool hasHeader(const QByteArray& name) const;
        // The body parsed as a JSON object; empty when it is not one.
        QJsonObject json() const;
    };

    // What to answer. Built with the static makers and adjusted with the chained setters.
    struct Reply {
        enum class Kind { Answer, DropConnection, NeverAnswer };

        Kind kind = Kind::Answer;
        int status = 200;
        QByteArray body;
        QList<Header> headers;
        int delayMs = 0;

        static Reply json(const QJsonDocument& document, int status = 200);
        static Reply json(const QJsonObject& object, int status = 200);
        static Reply json(const QJsonArray& array, int status = 200);
        static Reply text(const QByteArray& body, int status = 200);
        // The status with an empty body.
        static Reply empty(int status);
        // Closes the connection without answering.
        static Reply dropConnection();
        // Keeps the connection open and never answers.
        static Reply neverAnswer();

        Reply& after(int milliseconds);
        Reply& withHeader(const QByteArray& name, const QByteArray& value);
    };

    using Handler = std::function<Reply(const Request&)>;

    // Listens on 127.0.0.1 at the given port, or at a free one when it is 0.
    explicit LoopbackCloud(quint16 port = 0, QObject* parent = nullptr);
    ~LoopbackCloud() override;

    bool isListening() const { return port_ != 0; }
    quint16 port() const { return port_; }
    // "http://127.0.0.1:<port>", and the same followed by a path.
    QString baseUrl() const;
    QString url(const QString& path) const;

    // An empty method matches every method. A later route for the same method and path
    // replaces the earlier one.
    void route(const QString& method, const QString& path, Handler handler);
    void route(const QString& method, const QString& path, const Reply& reply);
    void removeRoute(const QString& method, const QString& path);
    void setFallback(Handler handler);

    const QList<Request>& requests() const { return log_; }
    QList<Request> requestsTo(const QString& path) const;
    qsizetype requestCount() const { return log_.size(); }
    void clearRequests() { log_.clear(); }

    // Runs the event loop until at least `count` requests have arrived in all, or the time
    // is up; returns whether they arrived.
    bool waitForRequests(qsizetype count, int timeoutMs = 5000) const;

signals:
    void requestReceived(const LoopbackCloud::Request& request);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    static QString routeKey(const QString& method, const QString& path);
    Handler handlerFor(const Request& request) const;
    static void answer(QTcpSocket* socket, const Reply& reply);

    quint16 port_ = 0;
    QHash<QString, Handler> routes_;
    Handler fallback_;
    QList<Request> log_;
};
