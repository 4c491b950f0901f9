// A connection that drops before the answer: every kind of request reaches the cloud once and
// its caller hears of the failure, on a fresh connection as on one kept alive from before.
#include "CloudTestSupport.h"

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
using Send = std::function<void(const QString& url, APICompletion)>;

struct Kind {
    const char* name;
    Send send;
    APIError::Kind expected;
};

void callWith(HTTPMethod method, ContentType type, const QString& url, APICompletion done) {
    GlobalManager::shared().callAPI(url, method, {{u"Tx_msg_seq_num"_s, u"7"_s}}, type,
                                    std::move(done));
}

const QList<Kind>& kinds() {
    static const QList<Kind> all{
        {"json post",
         [](const QString& url, APICompletion done) {
             callWith(HTTPMethod::POST, ContentType::json, url, std::move(done));
         },
         APIError::Kind::noInternetConnection},
        {"form post",
         [](const QString& url, APICompletion done) {
             callWith(HTTPMethod::POST, ContentType::formUrlEncoded, url, std::move(done));
         },
         APIError::Kind::noInternetConnection},
        {"get",
         [](const QString& url, APICompletion done) {
             callWith(HTTPMethod::GET, ContentType::json, url, std::move(done));
         },
         APIError::Kind::noInternetConnection},
        {"multipart upload",
         [](const QString& url, APICompletion done) {
             GlobalManager::shared().uploadCSVFile(url, u"log.csv"_s, std::move(done));
         },
         APIError::Kind::other},
        {"quiz form post",
         [](const QString& url, APICompletion done) {
             QuizCloudRequest::post(url, u"application/x-www-form-urlencoded"_s, "a=1",
                                    std::move(done));
         },
         APIError::Kind::noInternetConnection},
        {"quiz json post",
         [](const QString& url, APICompletion done) {
             QuizCloudRequest::post(url, u"application/json"_s, "[]", std::move(done));
         },
         APIError::Kind::noInternetConnection},
    };
    return all;
}

class OneRequestTest : public CloudTest,
                       public ::testing::WithParamInterface<std::tuple<int, bool>> {
protected:
    void SetUp() override {
        CloudTest::SetUp();
        folder = *Helper::getDirectoryUrl();
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile file(QDir(folder).filePath(u"log.csv"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("a,b\n1,2\n");
    }
    void TearDown() override {
        QDir(folder).removeRecursively();
        CloudTest::TearDown();
    }

    // A connection kept alive by an earlier answer is the one Qt likes to try again on.
    void warmUpWhenAsked(const Kind& kind) {
        if (!std::get<1>(GetParam()))
            return;
        cloud.route({}, u"/warm"_s, Reply::text("ok"));
        const auto first = run(kind, u"/warm"_s);
        ASSERT_TRUE(first && first->ok());
    }

    std::optional<APIResult> run(const Kind& kind, const QString& path) {
        auto result = std::make_shared<std::optional<APIResult>>();
        kind.send(cloud.url(path), [result](const APIResult& r) { *result = r; });
        waitFor([result] { return result->has_value(); });
        return *result;
    }

    QString folder;
};

TEST_P(OneRequestTest, DroppedConnectionReachesTheCloudOnceAndIsReported) {
    const Kind& kind = kinds().at(std::get<0>(GetParam()));
    cloud.route({}, u"/drop"_s, Reply::dropConnection());
    warmUpWhenAsked(kind);
    const auto dropped = run(kind, u"/drop"_s);
    ASSERT_TRUE(dropped.has_value());
    ASSERT_FALSE(dropped->ok());
    EXPECT_EQ(dropped->error().kind(), kind.expected) << dropped->error().what();
    // A resend would follow at once; give it time to show.
    spinFor(300);
    EXPECT_EQ(cloud.requestsTo(u"/drop"_s).size(), 1);
}

// Each hop of a redirect is a request of its own: a 307 sends the same request to an address
// that has not seen it, a 303 turns it into a GET.
TEST_P(OneRequestTest, RedirectsAreFollowedHopByHopOnce) {
    const Kind& kind = kinds().at(std::get<0>(GetParam()));
    cloud.route({}, u"/moved"_s, Reply::empty(307).withHeader("Location", "/see-other"));
    cloud.route({}, u"/see-other"_s, Reply::empty(303).withHeader("Location", "/target"));
    cloud.route({}, u"/target"_s, Reply::text("arrived"));
    warmUpWhenAsked(kind);
    const auto result = run(kind, u"/moved"_s);
    ASSERT_TRUE(result && result->ok());
    EXPECT_EQ(result->data(), "arrived");
    spinFor(100);
    const auto moved = cloud.requestsTo(u"/moved"_s);
    const auto seeOther = cloud.requestsTo(u"/see-other"_s);
    const auto target = cloud.requestsTo(u"/target"_s);
    ASSERT_EQ(moved.size(), 1);
    ASSERT_EQ(seeOther.size(), 1);
    ASSERT_EQ(target.size(), 1);
    EXPECT_EQ(seeOther.first().method, moved.first().method);
    EXPECT_EQ(seeOther.first().body, moved.first().body);
    EXPECT_EQ(target.first().method, u"GET"_s);
    EXPECT_TRUE(target.first().body.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EveryKind, OneRequestTest,
                         ::testing::Combine(::testing::Range(0, 6), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<int, bool>>& param) {
                             std::string name = kinds().at(std::get<0>(param.param)).name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name + (std::get<1>(param.param) ? "_reused" : "_fresh");
                         });

} // namespace
