// Audit records as the portal receives them, and the record that waits while offline.
#include "CloudTestSupport.h"

#include "cloud/Authentication.h"
#include "cloud/GlobalManager.h"
#include "cloud/GlobalUserManager.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"
#include "platform/TimeScale.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

using Reply = LoopbackCloud::Reply;

StructEuaMessage entry(const QString& code) {
    StructEuaMessage message;
    message.messageCode = code;
    message.messageDescription = u"description of "_s + code;
    message.messagerDescriptionUserFriendly = u"text of "_s + code;
    return message;
}

class AuditHistoryTest : public CloudTest {
protected:
    void SetUp() override {
        CloudTest::SetUp();
        // The cloud's catalogue, then the local record added at start-up.
        AppState::EuaMessage = {entry(u"8000017"_s), entry(u"5000051"_s), entry(u"8000003"_s),
                                entry(AppConstants::Codes::missingMessage)};
        UserFirmwareInfo user;
        user.id = u"U-1"_s;
        user.transmitterID = 4321;
        GlobalUserManager::shared().currentUserFirmwareInfo = user;
        Authentication::shared().accessToken = u"user-token"_s;
        clearPending();
        cloud.route(u"POST"_s, path(), Reply::text("saved"));
    }
    void TearDown() override {
        clearPending();
        AppState::EuaMessage.clear();
        GlobalUserManager::shared().clear();
        CloudTest::TearDown();
    }

    static QString path() { return AppConstants::API::Host::path::setZubAuditHistory; }
    static void clearPending() {
        AppState::defaults().removeObject(AppConstants::userdefaultKeys::pendingAudits);
        AppState::defaults().removeObject(AppConstants::userdefaultKeys::pendingAuditRecord);
    }
    // The waiting code, as other builds read it.
    static std::optional<QString> pending() {
        return AppState::defaults().string(AppConstants::userdefaultKeys::pendingAudits);
    }
    QJsonObject posted(qsizetype index) const { return cloud.requests().at(index).json(); }
};

TEST_F(AuditHistoryTest, SentOnlyForCodesOfTheCloudsCatalogue) {
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    GlobalManager::shared().setAuditHistory(u"9999999"_s);
    GlobalManager::shared().setAuditHistory(AppConstants::Codes::missingMessage);
    GlobalManager::shared().setAuditHistory(u"8000017"_s);
    GlobalManager::shared().setAuditHistory(u"5000051"_s,
                                            AppConstants::API::Host::AuditRecord::stateQuizVerdict);
    ASSERT_TRUE(cloud.waitForRequests(2));
    spinFor(100);
    ASSERT_EQ(cloud.requestCount(), 2);

    const LoopbackCloud::Request& first = cloud.requests().at(0);
    EXPECT_EQ(first.method, u"POST"_s);
    EXPECT_EQ(first.path, path());
    EXPECT_EQ(first.header("Authorization"), "Bearer user-token");
    const QJsonObject body = first.json();
    EXPECT_EQ(body.value(u"Code"_s).toString(), u"8000017"_s);
    EXPECT_EQ(body.value(u"ZubStateID"_s).toString(), u"1"_s);
    EXPECT_EQ(body.value(u"UserID"_s).toString(), u"U-1"_s);
    EXPECT_EQ(body.value(u"TransmitterID"_s).toString(), u"4321"_s);
    const QDateTime date = QDateTime::fromString(body.value(u"Date"_s).toString(), Qt::ISODate);
    ASSERT_TRUE(date.isValid());
    EXPECT_EQ(date.timeSpec(), Qt::UTC);
    EXPECT_GE(date, before);
    EXPECT_LE(date, QDateTime::currentDateTimeUtc().addSecs(1));
    EXPECT_EQ(body.size(), 5);

    EXPECT_EQ(posted(1).value(u"Code"_s).toString(), u"5000051"_s);
    EXPECT_EQ(posted(1).value(u"ZubStateID"_s).toString(), u"2"_s);
    EXPECT_FALSE(pending().has_value());
}

TEST_F(AuditHistoryTest, OfflineTheLastRecordWaitsAndIsSentWhenTheConnectionReturns) {
    NetworkManager::shared().setConnected(false);
    GlobalManager::shared().setAuditHistory(u"8000017"_s);
    GlobalManager::shared().setAuditHistory(u"5000051"_s,
                                            AppConstants::API::Host::AuditRecord::stateQuizVerdict);
    GlobalManager::shared().setAuditHistory(u"9999999"_s); // unknown: not even kept
    spinFor(1100);
    EXPECT_EQ(cloud.requestCount(), 0);
    EXPECT_EQ(pending(), u"5000051"_s);

    NetworkManager::shared().setConnected(true);
    ASSERT_TRUE(cloud.waitForRequests(1));
    // Sent as it was made, with the moment of the step; then the slot is empty.
    EXPECT_EQ(posted(0).value(u"Code"_s).toString(), u"5000051"_s);
    EXPECT_EQ(posted(0).value(u"ZubStateID"_s).toString(), u"2"_s);
    const QDateTime date =
        QDateTime::fromString(posted(0).value(u"Date"_s).toString(), Qt::ISODate);
    EXPECT_GE(date.secsTo(QDateTime::currentDateTimeUtc()), 1);
    EXPECT_TRUE(waitFor([] { return !pending().has_value(); }));
    spinFor(100);
    EXPECT_EQ(cloud.requestCount(), 1);
}

TEST_F(AuditHistoryTest, WaitingRecordGoesFirstOnceARecordCanBeSent) {
    // Kept from an earlier run that ended offline: no change of connection will announce it.
    NetworkManager::shared().setConnected(false);
    GlobalManager::shared().setAuditHistory(u"8000003"_s);
    cloud.route(u"POST"_s, path(), Reply::text("saved").after(100));
    QSignalBlocker quiet(&NetworkManager::shared());
    NetworkManager::shared().setConnected(true);

    GlobalManager::shared().setAuditHistory(u"8000017"_s);
    // Asking again while it is on its way does not send it twice.
    GlobalManager::shared().sendPendingAudit();
    ASSERT_TRUE(cloud.waitForRequests(2));
    spinFor(250);
    ASSERT_EQ(cloud.requestCount(), 2);
    EXPECT_EQ(posted(0).value(u"Code"_s).toString(), u"8000003"_s);
    EXPECT_EQ(posted(1).value(u"Code"_s).toString(), u"8000017"_s);
    EXPECT_FALSE(pending().has_value());
}

TEST_F(AuditHistoryTest, StepThatCouldNotBeSentOutranksACodeLeftAloneByAnotherBuild) {
    AppState::defaults().setValue(AppConstants::userdefaultKeys::pendingAudits, u"8000003"_s);
    // Answered a second later: a record made up for the code at the answer is a second younger.
    cloud.route(u"POST"_s, path(), Reply::text("busy", 503).after(1100));
    GlobalManager::shared().setAuditHistory(u"8000017"_s);
    ASSERT_TRUE(cloud.waitForRequests(2));
    EXPECT_TRUE(waitFor([] { return pending() == u"8000017"_s; }, 3000))
        << pending().value_or(u"(none)"_s).toStdString();
}

// How the resend of a waiting record ends, and whether the record then waits for the next.
struct ResendEnd {
    const char* name;
    Reply reply;
    bool waits; // a resend could go otherwise; else the cloud has settled it
};

void PrintTo(const ResendEnd& end, std::ostream* out) {
    *out << end.name;
}

class AuditResendTest : public AuditHistoryTest, public ::testing::WithParamInterface<ResendEnd> {};

TEST_P(AuditResendTest, WaitsOnlyWhileTheCloudHasNotSettledIt) {
    const ResendEnd& end = GetParam();
    // The request's time limit, scaled down for the time-out.
    TimeScale::setFactor(0.002);
    NetworkManager::shared().setConnected(false);
    GlobalManager::shared().setAuditHistory(u"8000017"_s);
    cloud.route(u"POST"_s, path(), end.reply);
    NetworkManager::shared().setConnected(true);
    ASSERT_TRUE(cloud.waitForRequests(1));

    // A returning connection sends it again only when it still waits: once its post has its
    // answer (no resend while it is on its way); then it is gone.
    cloud.route(u"POST"_s, path(), Reply::text("saved"));
    const auto reconnect = [] {
        NetworkManager::shared().setConnected(false);
        NetworkManager::shared().setConnected(true);
    };
    if (end.waits) {
        EXPECT_TRUE(waitFor([&] {
            reconnect();
            return cloud.requestCount() > 1;
        }));
    } else {
        EXPECT_TRUE(waitFor([] { return !pending().has_value(); }));
        reconnect();
    }
    ASSERT_EQ(cloud.requestCount(), end.waits ? 2 : 1);
    EXPECT_TRUE(waitFor([] { return !pending().has_value(); }));
    if (end.waits) {
        EXPECT_EQ(posted(1), posted(0)) << "the same record, with the moment of its step";
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryEnd, AuditResendTest,
    ::testing::Values(ResendEnd{"Accepted", Reply::text("saved"), false},
                      ResendEnd{"AcceptedWithoutBody", Reply::empty(200), false},
                      ResendEnd{"Refused", Reply::text("invalid record", 400), false},
                      ResendEnd{"Unavailable", Reply::text("busy", 503), true},
                      ResendEnd{"ConnectionDropped", Reply::dropConnection(), true},
                      ResendEnd{"TimedOut", Reply::neverAnswer(), true}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(AuditHistoryTest, WaitingValuesLeftByEveryBuildAreSentOnce) {
    namespace Keys = AppConstants::userdefaultKeys;
    const QString record =
        uR"({"Code":"8000003","ZubStateID":"2","UserID":"U-0","TransmitterID":"7",)"
        uR"("Date":"2026-01-02T03:04:05Z"})"_s;
    struct Case {
        const char* name;
        QString code;         // under "PendingAudits"
        QString kept;         // under our own key
        QJsonObject expected; // what is posted; its Date, when empty, is the moment of sending
    };
    const QJsonObject madeNow{{u"Code"_s, u"8000003"_s},
                              {u"ZubStateID"_s, u"1"_s},
                              {u"UserID"_s, u"U-1"_s},
                              {u"TransmitterID"_s, u"4321"_s},
                              {u"Date"_s, u""_s}};
    const QJsonObject asKept = QJsonDocument::fromJson(record.toUtf8()).object();
    const QList<Case> cases{
        {"code with its record", u"8000003"_s, record, asKept},
        {"whole record of an earlier build", record, {}, asKept},
        {"code alone", u"8000003"_s, {}, madeNow},
        {"code with another code's record", u"8000003"_s,
         QString(record).replace(u"8000003"_s, u"8000017"_s), madeNow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cloud.clearRequests();
        AppState::defaults().setValue(Keys::pendingAudits, c.code);
        if (!c.kept.isEmpty())
            AppState::defaults().setValue(Keys::pendingAuditRecord, c.kept);
        GlobalManager::shared().sendPendingAudit();
        ASSERT_TRUE(cloud.waitForRequests(1));
        ASSERT_TRUE(waitFor([] { return !pending().has_value(); }));
        spinFor(50);
        ASSERT_EQ(cloud.requestCount(), 1);
        QJsonObject sent = posted(0);
        if (c.expected.value(u"Date"_s).toString().isEmpty()) {
            const QDateTime date =
                QDateTime::fromString(sent.value(u"Date"_s).toString(), Qt::ISODate);
            EXPECT_LE(qAbs(date.secsTo(QDateTime::currentDateTimeUtc())), 2);
            sent.insert(u"Date"_s, u""_s);
        }
        EXPECT_EQ(sent, c.expected);
        EXPECT_FALSE(AppState::defaults().value(Keys::pendingAuditRecord).has_value());
    }
}

} // namespace
