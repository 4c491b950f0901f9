// The common request over real HTTP: what goes on the wire, and how every outcome is reported.
#include "CloudTestSupport.h"

#include "cloud/Authentication.h"
#include "cloud/ComLibAuthentication.h"
#include "cloud/GlobalManager.h"
#include "cloud/NetworkManager.h"
#include "cloud/ReplyMapping.h"
#include "cloud/RequestBuilder.h"
#include "doubles/WaitFor.h"
#include "platform/Task.h"
#include "platform/TimeScale.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPoint>
#include <QTcpServer>
#include <QThread>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Reply = LoopbackCloud::Reply;

const APIError& errorOf(const std::optional<APIResult>& result) {
    static const APIError none = APIError::other(u"no result"_s);
    if (!result || result->ok())
        return none;
    return result->error();
}

// A port on 127.0.0.1 that nothing listens on.
quint16 closedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

class CallAPITest : public CloudTest {};

TEST_F(CallAPITest, AnswersAndStatusErrorsAreMappedByTheirStatusAndBody) {
    cloud.route(u"POST"_s, u"/ok"_s, Reply::json(QJsonObject{{u"bytes"_s, u"AQID"_s}}));
    cloud.route(u"POST"_s, u"/empty"_s, Reply::empty(200));
    cloud.route(u"POST"_s, u"/created"_s, Reply::text("made", 201));
    cloud.route(u"POST"_s, u"/fail"_s, Reply::text("server says no", 500));
    cloud.route(u"POST"_s, u"/fail-empty"_s, Reply::empty(500));
    cloud.route(u"POST"_s, u"/unauthorised"_s, Reply::text("who?", 401));
    cloud.route(u"POST"_s, u"/bad-request"_s, Reply::text("bad field", 400));
    cloud.route(u"POST"_s, u"/unavailable"_s, Reply::text("later", 503));

    auto ok = call(cloud.url(u"/ok"_s));
    ASSERT_TRUE(ok && ok->ok());
    EXPECT_EQ(ok->data(), R"({"bytes":"AQID"})");

    auto created = call(cloud.url(u"/created"_s));
    ASSERT_TRUE(created && created->ok());
    EXPECT_EQ(created->data(), "made");

    EXPECT_TRUE(errorOf(call(cloud.url(u"/empty"_s))).is(APIError::Kind::noData));

    const APIError withBody = errorOf(call(cloud.url(u"/fail"_s)));
    ASSERT_TRUE(withBody.is(APIError::Kind::httpError));
    EXPECT_EQ(withBody.statusCode(), 500);
    EXPECT_EQ(withBody.data(), QByteArray("server says no"));

    // A status error without a body still carries its (empty) body, so callers treat it like
    // every other status error.
    const APIError emptyBody = errorOf(call(cloud.url(u"/fail-empty"_s)));
    ASSERT_TRUE(emptyBody.is(APIError::Kind::httpError));
    EXPECT_EQ(emptyBody.statusCode(), 500);
    ASSERT_TRUE(emptyBody.data().has_value());
    EXPECT_TRUE(emptyBody.data()->isEmpty());

    const APIError unauthorised = errorOf(call(cloud.url(u"/unauthorised"_s)));
    EXPECT_TRUE(unauthorised.is(APIError::Kind::httpError));
    EXPECT_EQ(unauthorised.statusCode(), 401);
    EXPECT_EQ(unauthorised.data(), QByteArray("who?"));

    // Qt reports these two statuses as protocol and server errors; they are still answers.
    for (const auto& [path, status] :
         {std::pair{u"/bad-request"_s, 400}, {u"/unavailable"_s, 503}}) {
        const APIError error = errorOf(call(cloud.url(path)));
        EXPECT_TRUE(error.is(APIError::Kind::httpError)) << status;
        EXPECT_EQ(error.statusCode(), status);
    }

    const APIError missing = errorOf(call(cloud.url(u"/no-such-path"_s)));
    EXPECT_TRUE(missing.is(APIError::Kind::httpError));
    EXPECT_EQ(missing.statusCode(), 404);
}

TEST_F(CallAPITest, TransportFailuresSayOfflineOnlyWhenTheConnectionIsGone) {
    cloud.route(u"POST"_s, u"/drop"_s, Reply::dropConnection());
    const QString refused = u"http://127.0.0.1:%1/api/x"_s.arg(closedPort());
    struct Case {
        const char* name;
        QString url;
        bool offlineMeanwhile; // the monitor reports offline while the request is under way
        APIError::Kind expected;
    };
    const QList<Case> cases{
        {"refused", refused, false, APIError::Kind::other},
        {"refused while offline", refused, true, APIError::Kind::noInternetConnection},
        {"dropped", cloud.url(u"/drop"_s), false, APIError::Kind::noInternetConnection},
    };
    for (const Case& c : cases) {
        auto result = std::make_shared<std::optional<APIResult>>();
        GlobalManager::shared().callAPI(c.url, HTTPMethod::POST, {}, ContentType::json,
                                        [result](const APIResult& r) { *result = r; });
        NetworkManager::shared().setConnected(!c.offlineMeanwhile);
        ASSERT_TRUE(waitFor([result] { return result->has_value(); })) << c.name;
        EXPECT_EQ(errorOf(*result).kind(), c.expected) << c.name;
        NetworkManager::shared().setConnected(true);
    }
    EXPECT_FALSE(errorOf(call(refused)).underlyingDescription().isEmpty());

    // The failures that cannot be staged on one machine, by the code Qt gives them.
    using E = QNetworkReply::NetworkError;
    for (const E offline : {E::RemoteHostClosedError, E::ContentReSendError, E::UnknownNetworkError,
                            E::TemporaryNetworkFailureError, E::NetworkSessionFailedError})
        EXPECT_TRUE(ReplyMapping::meansOffline(offline)) << offline;
    for (const E elsewhere :
         {E::ConnectionRefusedError, E::HostNotFoundError, E::TimeoutError,
          E::OperationCanceledError, E::SslHandshakeFailedError, E::ProxyConnectionClosedError,
          E::TooManyRedirectsError, E::ProtocolFailure, E::UnknownContentError})
        EXPECT_FALSE(ReplyMapping::meansOffline(elsewhere)) << elsewhere;
}

TEST_F(CallAPITest, BadAddressesFailAtOnceWithoutSending) {
    for (const QString& bad : {u""_s, u"not a url"_s, u"http://"_s, u"ftp://127.0.0.1/x"_s,
                               u"/api/zub/SendZubEmail"_s, u"http://exa mple.com/x"_s}) {
        std::optional<APIResult> result;
        GlobalManager::shared().callAPI(bad, HTTPMethod::POST, {}, ContentType::json,
                                        [&result](const APIResult& r) { result = r; });
        // Reported inside the call, before it returns.
        EXPECT_TRUE(errorOf(result).is(APIError::Kind::invalidURL)) << bad.toStdString();
    }
    // Nothing reached the cloud: the first request it sees is this one.
    call(cloud.url(u"/after"_s));
    ASSERT_EQ(cloud.requestCount(), 1);
    EXPECT_EQ(cloud.requests().first().path, u"/after"_s);
}

TEST_F(CallAPITest, OfflineFailsAtOnceAndSendsNothing) {
    NetworkManager::shared().setConnected(false);
    std::optional<APIResult> result;
    GlobalManager::shared().callAPI(cloud.url(u"/api/x"_s), HTTPMethod::POST, {{u"a"_s, u"b"_s}},
                                    ContentType::json,
                                    [&result](const APIResult& r) { result = r; });
    EXPECT_TRUE(errorOf(result).is(APIError::Kind::noInternetConnection));
    spinFor(150);
    EXPECT_EQ(cloud.requestCount(), 0);

    NetworkManager::shared().setConnected(true);
    cloud.route(u"POST"_s, u"/api/x"_s, Reply::text("back"));
    auto back = call(cloud.url(u"/api/x"_s));
    ASSERT_TRUE(back && back->ok());
    EXPECT_EQ(cloud.requestCount(), 1);
}

TEST_F(CallAPITest, AnswersArriveLaterOnTheMainThread) {
    cloud.route(u"POST"_s, u"/x"_s, Reply::text("x"));
    bool called = false;
    QThread* thread = nullptr;
    GlobalManager::shared().callAPI(cloud.url(u"/x"_s), HTTPMethod::POST, {}, ContentType::json,
                                    [&](const APIResult&) {
                                        called = true;
                                        thread = QThread::currentThread();
                                    });
    EXPECT_FALSE(called);
    ASSERT_TRUE(waitFor([&] { return called; }));
    EXPECT_EQ(thread, QCoreApplication::instance()->thread());

    // Also when the request is made on another thread.
    auto answered = std::make_shared<std::atomic<QThread*>>(nullptr);
    QThread* worker = QThread::create([this, answered] {
        GlobalManager::shared().callAPI(cloud.url(u"/x"_s), HTTPMethod::POST, {}, ContentType::json,
                                        [answered](const APIResult& r) {
                                            if (r.ok())
                                                answered->store(QThread::currentThread());
                                        });
    });
    worker->start();
    ASSERT_TRUE(worker->wait(5000));
    delete worker;
    ASSERT_TRUE(waitFor([answered] { return answered->load() != nullptr; }));
    EXPECT_EQ(answered->load(), QCoreApplication::instance()->thread());
}

TEST_F(CallAPITest, BearerTokenIsChosenByTheAddressesService) {
    cloud.setFallback([](const LoopbackCloud::Request&) { return Reply::text("ok"); });
    const QString portal = cloud.url(u"/api/zub/SendZubEmail"_s);
    const QString commLib = commLibUrl(u"/api/LogData/GetCommandBytes"_s);
    // Shares the comm-library base's text but is not under it.
    const QString lookalike = cloud.url(u"/commlibrary/x"_s);

    // Before sign-in nothing is sent, not even to the comm-library service with its token.
    ComLibAuthentication::shared().token = u"comm-token"_s;
    call(portal);
    call(commLib);
    ASSERT_EQ(cloud.requestCount(), 2);
    EXPECT_FALSE(cloud.requests().at(0).hasHeader("Authorization"));
    EXPECT_FALSE(cloud.requests().at(1).hasHeader("Authorization"));

    cloud.clearRequests();
    Authentication::shared().accessToken = u"user-token"_s;
    call(portal);
    call(commLib);
    call(lookalike);
    call(commLibUrl({}) + u"?x=1"_s);
    ASSERT_EQ(cloud.requestCount(), 4);
    EXPECT_EQ(cloud.requests().at(0).header("Authorization"), "Bearer user-token");
    EXPECT_EQ(cloud.requests().at(1).header("Authorization"), "Bearer comm-token");
    EXPECT_EQ(cloud.requests().at(2).header("Authorization"), "Bearer user-token");
    EXPECT_EQ(cloud.requests().at(3).header("Authorization"), "Bearer comm-token");

    // Signed in but without a comm-library token: no empty "Bearer " header.
    cloud.clearRequests();
    ComLibAuthentication::shared().token.clear();
    call(commLib);
    ASSERT_EQ(cloud.requestCount(), 1);
    EXPECT_FALSE(cloud.requests().first().hasHeader("Authorization"));
}

TEST_F(CallAPITest, JsonBodyCarriesTextAndListsOfText) {
    cloud.route(u"POST"_s, u"/json"_s, Reply::text("ok"));
    const QVariantMap parameters{
        {u"sessionkeypair"_s, u"k+/="_s},
        {u"Tx_msg_seq_num"_s, u"7"_s},
        {u"bytes"_s, QStringList{u"AQ=="_s, u"Ag=="_s}},
        {u"subject"_s, u"Line \"one\"\nµ ✓"_s},
        {u"empty"_s, QStringList{}},
    };
    call(cloud.url(u"/json"_s), parameters);
    ASSERT_EQ(cloud.requestCount(), 1);
    const LoopbackCloud::Request& request = cloud.requests().first();
    EXPECT_EQ(request.method, u"POST"_s);
    EXPECT_EQ(request.header("Content-Type"), "application/json");
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(request.body, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    const QJsonObject expected{
        {u"sessionkeypair"_s, u"k+/="_s},
        {u"Tx_msg_seq_num"_s, u"7"_s},
        {u"bytes"_s, QJsonArray{u"AQ=="_s, u"Ag=="_s}},
        {u"subject"_s, u"Line \"one\"\nµ ✓"_s},
        {u"empty"_s, QJsonArray{}},
    };
    EXPECT_EQ(document.object(), expected);
}

TEST_F(CallAPITest, FormBodyIsPercentEncodedSoPlusSignsSurvive) {
    cloud.route(u"POST"_s, u"/form"_s, Reply::text("ok"));
    const QVariantMap parameters{
        {u"ChoiceSelectionJSON"_s, u"[{\"ChoiceID\":3}]"_s},
        {u"QuizID"_s, u"12"_s},
        {u"key"_s, u"a+b c&d=e/f"_s},
        {u"list"_s, QStringList{u"1"_s, u"2"_s}},
        {u"name"_s, u"µ"_s},
    };
    call(cloud.url(u"/form"_s), parameters, HTTPMethod::POST, ContentType::formUrlEncoded);
    ASSERT_EQ(cloud.requestCount(), 1);
    const LoopbackCloud::Request& request = cloud.requests().first();
    EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.body, "ChoiceSelectionJSON=%5B%7B%22ChoiceID%22%3A3%7D%5D&QuizID=12&"
                            "key=a%2Bb%20c%26d%3De%2Ff&list=1&list=2&name=%C2%B5");
}

TEST_F(CallAPITest, GetCarriesItsParametersInTheAddress) {
    cloud.route(u"GET"_s, u"/get"_s, Reply::text("ok"));
    auto result = call(cloud.url(u"/get?fixed=1"_s), {{u"q"_s, u"a b"_s}}, HTTPMethod::GET);
    ASSERT_TRUE(result && result->ok());
    const LoopbackCloud::Request& request = cloud.requests().first();
    EXPECT_EQ(request.method, u"GET"_s);
    EXPECT_TRUE(request.body.isEmpty());
    EXPECT_EQ(request.query.queryItemValue(u"fixed"_s), u"1"_s);
    EXPECT_EQ(request.query.queryItemValue(u"q"_s), u"a b"_s);
}

TEST_F(CallAPITest, UnsupportedParameterValuesAreASerializationErrorAndSendNothing) {
    std::optional<APIResult> json = call(cloud.url(u"/x"_s), {{u"at"_s, QPoint(1, 2)}});
    EXPECT_TRUE(errorOf(json).is(APIError::Kind::serializationError));
    EXPECT_FALSE(errorOf(json).underlyingDescription().isEmpty());
    std::optional<APIResult> form =
        call(cloud.url(u"/x"_s), {{u"map"_s, QVariantMap{{u"a"_s, u"b"_s}}}}, HTTPMethod::POST,
             ContentType::formUrlEncoded);
    EXPECT_TRUE(errorOf(form).is(APIError::Kind::serializationError));
    spinFor(100);
    EXPECT_EQ(cloud.requestCount(), 0);
}

TEST_F(CallAPITest, RequestsGiveUpAfterSixtySeconds) {
    // The product's period, unscaled.
    auto built =
        RequestBuilder::build(cloud.url(u"/x"_s), HTTPMethod::POST, {}, ContentType::json, {});
    ASSERT_TRUE(std::holds_alternative<RequestBuilder::Built>(built));
    EXPECT_EQ(std::get<RequestBuilder::Built>(built).request.transferTimeout(), 60000);

    // Scaled down, a cloud that never answers ends the request as a transport failure.
    TimeScale::setFactor(0.005); // 300 ms
    cloud.route(u"POST"_s, u"/silent"_s, Reply::neverAnswer());
    QElapsedTimer clock;
    clock.start();
    auto result = call(cloud.url(u"/silent"_s), {}, HTTPMethod::POST, ContentType::json, 5000);
    ASSERT_TRUE(result.has_value());
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_TRUE(errorOf(result).is(APIError::Kind::other));
}

Task<void> awaitCall(QString url, std::shared_ptr<std::optional<QByteArray>> data,
                     std::shared_ptr<std::optional<APIError>> error) {
    try {
        *data = co_await GlobalManager::shared().callAPI(url, HTTPMethod::POST, {});
    } catch (const APIError& e) {
        *error = e;
    }
}

TEST_F(CallAPITest, AwaitedFormGivesTheBodyOrThrowsTheError) {
    cloud.route(u"POST"_s, u"/ok"_s, Reply::text("answer"));
    cloud.route(u"POST"_s, u"/fail"_s, Reply::text("bad", 502));
    QObject owner;

    auto data = std::make_shared<std::optional<QByteArray>>();
    auto error = std::make_shared<std::optional<APIError>>();
    awaitCall(cloud.url(u"/ok"_s), data, error).start(&owner);
    ASSERT_TRUE(waitFor([&] { return data->has_value() || error->has_value(); }));
    EXPECT_EQ(*data, QByteArray("answer"));

    data->reset();
    awaitCall(cloud.url(u"/fail"_s), data, error).start(&owner);
    ASSERT_TRUE(waitFor([&] { return data->has_value() || error->has_value(); }));
    ASSERT_TRUE(error->has_value());
    EXPECT_TRUE((*error)->is(APIError::Kind::httpError));
    EXPECT_EQ((*error)->statusCode(), 502);
    EXPECT_EQ((*error)->data(), QByteArray("bad"));
}

} // namespace
