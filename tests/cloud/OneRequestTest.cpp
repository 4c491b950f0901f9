// Every kind of request reaches the cloud at most once: a connection that drops before the
// answer (fresh, or kept alive from before) is reported, not retried; a redirect's hops are
// sent once each.
#include "CloudTestSupport.h"

#include "cloud/Authentication.h"
#include "cloud/GlobalManager.h"
#include "core/Helper.h"
#include "doubles/WaitFor.h"
#include "quiz/QuizCloudRequest.h"

#include <QDir>
#include <QFile>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Reply = LoopbackCloud::Reply;

enum Sender { sendJson, sendForm, sendGet, sendUpload, sendQuizForm, sendQuizJson, senderCount };
const char* const senderNames[] = {"json", "form", "get", "upload", "quiz_form", "quiz_json"};

void send(Sender sender, const QString& url, APICompletion done) {
    GlobalManager& manager = GlobalManager::shared();
    const QVariantMap parameters{{u"Tx_msg_seq_num"_s, u"7"_s}};
    switch (sender) {
    case sendJson:
    case sendForm:
    case sendGet:
        return manager.callAPI(
            url, sender == sendGet ? HTTPMethod::GET : HTTPMethod::POST, parameters,
            sender == sendForm ? ContentType::formUrlEncoded : ContentType::json, std::move(done));
    case sendUpload:
        return manager.uploadCSVFile(url, u"log.csv"_s, std::move(done));
    default:
        return QuizCloudRequest::post(
            url,
            sender == sendQuizJson ? u"application/json"_s : u"application/x-www-form-urlencoded"_s,
            "a=1", std::move(done));
    }
}

class OneRequestTest : public CloudTest,
                       public ::testing::WithParamInterface<std::tuple<int, bool>> {
protected:
    void SetUp() override {
        CloudTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(*Helper::getDirectoryUrl()));
        QFile file(QDir(*Helper::getDirectoryUrl()).filePath(u"log.csv"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("a,b\n1,2\n");
        // A connection kept alive by an earlier answer is the one Qt likes to try again on.
        if (std::get<1>(GetParam())) {
            cloud.route({}, u"/warm"_s, Reply::text("ok"));
            const auto first = run(u"/warm"_s);
            ASSERT_TRUE(first && first->ok());
        }
    }
    void TearDown() override {
        QDir(*Helper::getDirectoryUrl()).removeRecursively();
        CloudTest::TearDown();
    }

    std::optional<APIResult> run(const QString& path) {
        auto result = std::make_shared<std::optional<APIResult>>();
        send(Sender(std::get<0>(GetParam())), cloud.url(path),
             [result](const APIResult& r) { *result = r; });
        waitFor([result] { return result->has_value(); });
        return *result;
    }
};

TEST_P(OneRequestTest, DroppedConnectionReachesTheCloudOnceAndIsReported) {
    cloud.route({}, u"/drop"_s, Reply::dropConnection());
    const auto dropped = run(u"/drop"_s);
    ASSERT_TRUE(dropped && !dropped->ok());
    // The upload never says offline.
    EXPECT_EQ(dropped->error().kind(), std::get<0>(GetParam()) == sendUpload
                                           ? APIError::Kind::other
                                           : APIError::Kind::noInternetConnection);
    // A resend would follow at once; give it time to show.
    spinFor(300);
    EXPECT_EQ(cloud.requestsTo(u"/drop"_s).size(), 1);
}

// A 307 sends the same request on to an address that has not seen it; a 303 makes it a GET.
TEST_P(OneRequestTest, RedirectsAreFollowedHopByHopOnce) {
    cloud.route({}, u"/moved"_s, Reply::empty(307).withHeader("Location", "/see-other"));
    cloud.route({}, u"/see-other"_s, Reply::empty(303).withHeader("Location", "/target"));
    cloud.route({}, u"/target"_s, Reply::text("arrived"));
    const auto result = run(u"/moved"_s);
    ASSERT_TRUE(result && result->ok());
    spinFor(100);
    const auto moved = cloud.requestsTo(u"/moved"_s);
    const auto seeOther = cloud.requestsTo(u"/see-other"_s);
    const auto target = cloud.requestsTo(u"/target"_s);
    ASSERT_EQ((QList{moved.size(), seeOther.size(), target.size()}), (QList<qsizetype>{1, 1, 1}));
    EXPECT_EQ(std::pair(seeOther.first().method, seeOther.first().body),
              std::pair(moved.first().method, moved.first().body));
    EXPECT_EQ(std::pair(target.first().method, target.first().body),
              std::pair(u"GET"_s, QByteArray()));
}

// The bearer token goes with a hop on the same origin only.
TEST(RedirectCredentialsTest, AnotherOriginGetsNoBearerToken) {
    LoopbackCloud home;
    LoopbackCloud elsewhere;
    Authentication::shared().accessToken = u"secret-token"_s;
    home.route({}, u"/moved"_s, Reply::empty(307).withHeader("Location", "/here"));
    home.route({}, u"/here"_s,
               Reply::empty(307).withHeader("Location", elsewhere.url(u"/there"_s).toUtf8()));
    elsewhere.route({}, u"/there"_s, Reply::text("arrived"));
    auto result = std::make_shared<std::optional<APIResult>>();
    QuizCloudRequest::post(home.url(u"/moved"_s), u"application/json"_s, "{}",
                           [result](const APIResult& r) { *result = r; });
    waitFor([result] { return result->has_value(); });
    Authentication::shared().accessToken.clear();
    ASSERT_TRUE(*result && (*result)->ok());
    ASSERT_EQ(home.requestsTo(u"/here"_s).size(), 1);
    ASSERT_EQ(elsewhere.requestsTo(u"/there"_s).size(), 1);
    EXPECT_EQ(home.requestsTo(u"/here"_s).first().header("Authorization"), "Bearer secret-token");
    EXPECT_FALSE(elsewhere.requestsTo(u"/there"_s).first().hasHeader("Authorization"));
}

INSTANTIATE_TEST_SUITE_P(EveryKind, OneRequestTest,
                         ::testing::Combine(::testing::Range(0, int(senderCount)),
                                            ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<int, bool>>& param) {
                             return std::string(senderNames[std::get<0>(param.param)]) +
                                    (std::get<1>(param.param) ? "_reused" : "_fresh");
                         });

} // namespace
