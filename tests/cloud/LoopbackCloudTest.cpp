// The loopback cloud is what every cloud test stands on: check that it answers and records
// exactly what it was told to, over a real connection.
#include "doubles/LoopbackCloud.h"
#include "doubles/WaitFor.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Fetched {
    bool finished = false;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QByteArray body;
    QByteArray contentType;
};

class LoopbackCloudTest : public ::testing::Test {
protected:
    Fetched fetch(const QByteArray& verb, const QString& url, const QByteArray& body = {},
                  int timeoutMs = 5000) {
        QNetworkRequest request{QUrl(url)};
        request.setRawHeader("X-Probe", "probe value");
        request.setRawHeader("Content-Type", "text/plain");
        QNetworkReply* reply = nam.sendCustomRequest(request, verb, body);
        Fetched out;
        QObject::connect(reply, &QNetworkReply::finished, reply, [&out, reply] {
            out.finished = true;
            out.error = reply->error();
            out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            out.body = reply->readAll();
            out.contentType = reply->rawHeader("Content-Type");
        });
        waitFor([&out] { return out.finished; }, timeoutMs);
        QObject::disconnect(reply, nullptr, nullptr, nullptr);
        reply->abort();
        reply->deleteLater();
        return out;
    }

    LoopbackCloud cloud;
    QNetworkAccessManager nam;
};

TEST_F(LoopbackCloudTest, AnswersEachRouteByMethodAndPath) {
    ASSERT_TRUE(cloud.isListening());
    cloud.route(u"POST"_s, u"/api/a"_s,
                LoopbackCloud::Reply::json(QJsonObject{{u"k"_s, u"v"_s}}, 201));
    cloud.route(u"GET"_s, u"/api/a"_s,
                LoopbackCloud::Reply::text("got", 200).withHeader("X-A", "1"));
    cloud.route(QString(), u"/any"_s, LoopbackCloud::Reply::text("any method"));

    Fetched post = fetch("POST", cloud.url(u"/api/a"_s), "x");
    EXPECT_EQ(post.status, 201);
    EXPECT_EQ(post.body, R"({"k":"v"})");
    EXPECT_EQ(post.contentType, "application/json");

    EXPECT_EQ(fetch("GET", cloud.url(u"/api/a"_s)).body, "got");
    EXPECT_EQ(fetch("PUT", cloud.url(u"/any"_s)).body, "any method");

    Fetched missing = fetch("GET", cloud.url(u"/nowhere"_s));
    EXPECT_EQ(missing.status, 404);
    EXPECT_TRUE(missing.body.isEmpty());

    // A later route replaces the earlier one; the fallback can be changed.
    cloud.route(u"GET"_s, u"/api/a"_s, LoopbackCloud::Reply::empty(500));
    EXPECT_EQ(fetch("GET", cloud.url(u"/api/a"_s)).status, 500);
    cloud.setFallback([](const LoopbackCloud::Request& r) {
        return LoopbackCloud::Reply::text(r.path.toUtf8(), 418);
    });
    Fetched teapot = fetch("GET", cloud.url(u"/elsewhere"_s));
    EXPECT_EQ(teapot.status, 418);
    EXPECT_EQ(teapot.body, "/elsewhere");
}

TEST_F(LoopbackCloudTest, LogsEveryRequestWhole) {
    const QByteArray body("{\"a\":[\"1\",\"2\"]}\r\n\x00\xff", 17);
    fetch("POST", cloud.url(u"/api/log?x=1&y=two%20words"_s), body);
    fetch("GET", cloud.url(u"/api/other"_s));

    ASSERT_EQ(cloud.requestCount(), 2);
    const LoopbackCloud::Request& first = cloud.requests().at(0);
    EXPECT_EQ(first.method, u"POST"_s);
    EXPECT_EQ(first.path, u"/api/log"_s);
    EXPECT_EQ(first.query.queryItemValue(u"y"_s), u"two words"_s);
    EXPECT_EQ(first.body, body);
    EXPECT_EQ(first.header("x-probe"), "probe value");
    EXPECT_TRUE(first.hasHeader("X-PROBE"));
    EXPECT_FALSE(first.hasHeader("Authorization"));
    EXPECT_EQ(cloud.requestsTo(u"/api/other"_s).size(), 1);
    EXPECT_EQ(cloud.requestsTo(u"/api/other"_s).first().method, u"GET"_s);

    cloud.clearRequests();
    EXPECT_EQ(cloud.requestCount(), 0);
}

TEST_F(LoopbackCloudTest, WaitForRequestsIsBounded) {
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(cloud.waitForRequests(1, 200));
    EXPECT_LT(clock.elapsed(), 2000);

    QNetworkReply* reply = nam.get(QNetworkRequest(QUrl(cloud.url(u"/x"_s))));
    EXPECT_TRUE(cloud.waitForRequests(1, 5000));
    waitFor([reply] { return reply->isFinished(); });
    delete reply;
}

} // namespace
