// Audit records as the portal receives them, and the record that waits while offline.
#include "CloudTestSupport.h"

#include "cloud/Authentication.h"
#include "cloud/GlobalManager.h"
#include "cloud/GlobalUserManager.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"

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
    }
    static std::optional<QJsonObject> pending() {
        const auto text = AppState::defaults().string(AppConstants::userdefaultKeys::pendingAudits);
        if (!text)
            return std::nullopt;
        return QJsonDocument::fromJson(text->toUtf8()).object();
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
    spinFor(100);
    EXPECT_EQ(cloud.requestCount(), 0);
    const std::optional<QJsonObject> waiting = pending();
    ASSERT_TRUE(waiting.has_value());
    EXPECT_EQ(waiting->value(u"Code"_s).toString(), u"5000051"_s);

    NetworkManager::shared().setConnected(true);
    ASSERT_TRUE(cloud.waitForRequests(1));
    // Sent as it was made, with the moment of the step; then the slot is empty.
    EXPECT_EQ(posted(0), *waiting);
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

TEST_F(AuditHistoryTest, WaitingRecordRefusedByTheCloudIsNotResentForever) {
    NetworkManager::shared().setConnected(false);
    GlobalManager::shared().setAuditHistory(u"8000017"_s);
    cloud.route(u"POST"_s, path(), Reply::text("invalid record", 400));
    NetworkManager::shared().setConnected(true);
    ASSERT_TRUE(cloud.waitForRequests(1));
    EXPECT_TRUE(waitFor([] { return !pending().has_value(); }));

    NetworkManager::shared().setConnected(false);
    NetworkManager::shared().setConnected(true);
    spinFor(100);
    EXPECT_EQ(cloud.requestCount(), 1);
}

} // namespace
