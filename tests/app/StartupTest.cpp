// Start-up: the steps that need no window, the message catalogue from the cloud, the scenes.
#include "app/AppDelegate.h"
#include "app/SceneRegistration.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Helper.h"
#include "core/Logger.h"
#include "doubles/CloudEnvironment.h"
#include "doubles/WaitFor.h"
#include "platform/Storyboard.h"
#include "shell/ChildViewController.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "upgrade/OstrivaneCheckForUpgradesViewController.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
namespace Paths = AppConstants::API::Host::path;

namespace {

QJsonObject cloudEntry(const QString& code) {
    return {{u"MessageCode"_s, code},
            {u"Language"_s, u"en"_s},
            {u"MessageDescription"_s, u"description "_s + code},
            {u"MessagerDescriptionUserFriendly"_s, u"text "_s + code},
            {u"Platform"_s, QJsonValue::Null}};
}

QStringList codes() {
    QStringList result;
    for (const StructEuaMessage& entry : AppState::EuaMessage)
        result.append(entry.messageCode);
    return result;
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState::EuaMessage.clear();
        AppDelegate::applicationDidFinishLaunching();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    // Fetches the catalogue; returns what the completion said, or nothing when it never ran.
    std::optional<bool> fetch() {
        std::optional<bool> received;
        AppDelegate::callApiGetEuaMessages([&](bool ok) { received = ok; });
        waitFor([&] { return received.has_value(); });
        return received;
    }

    CloudEnvironment env;
};

} // namespace

TEST_F(StartupTest, LaunchStoresTheVersionAddsTheLocalRecordOnceAndPreparesTheFolder) {
    AppDelegate::applicationDidFinishLaunching(); // a second time adds nothing

    EXPECT_EQ(AppState::g_currentAppVersion, u"4.5.6"_s);
    EXPECT_EQ(codes(), QStringList{AppConstants::Codes::missingMessage});
    EXPECT_FALSE(
        euaMessage(AppConstants::Codes::missingMessage)->messagerDescriptionUserFriendly.isEmpty());
    const std::optional<QString> folder = Helper::getDirectoryUrl();
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(QDir(*folder).exists());
    EXPECT_EQ(AppState::g_appUserDefaultUrl, QDir(*folder).filePath(u"AppUserDefault.txt"_s));
    EXPECT_EQ(QLocale().language(), QLocale::English);
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
}

TEST_F(StartupTest, TheCloudCatalogueComesFirstAndTheLocalRecordStaysBehindIt) {
    env.cloud.route(
        u"GET"_s, Paths::getEuaMessages,
        LoopbackCloud::Reply::json(QJsonArray{cloudEntry(u"8000008"_s), cloudEntry(u"100"_s)}));

    ASSERT_EQ(fetch(), std::optional<bool>(true));

    ASSERT_EQ(env.cloud.requestCount(), 1);
    EXPECT_EQ(env.cloud.requests().first().method, u"GET"_s);
    EXPECT_EQ(codes(), (QStringList{u"8000008"_s, u"100"_s, AppConstants::Codes::missingMessage}));
    EXPECT_EQ(euaMessage(u"8000008"_s)->messagerDescriptionUserFriendly, u"text 8000008"_s);
    // The cloud's own "100" wins the look-up; the local one is only a fallback.
    EXPECT_EQ(euaMessage(u"100"_s)->messagerDescriptionUserFriendly, u"text 100"_s);
}

TEST_F(StartupTest, AFailedOrMalformedCatalogueKeepsTheLocalRecordAndIsLogged) {
    QJsonObject withoutText = cloudEntry(u"5000025"_s);
    withoutText.remove(u"MessagerDescriptionUserFriendly"_s);
    QJsonObject numericCode = cloudEntry(u"5000025"_s);
    numericCode.insert(u"MessageCode"_s, 5000025);
    const QList<LoopbackCloud::Reply> replies{
        LoopbackCloud::Reply::json(QJsonArray{cloudEntry(u"8000008"_s), withoutText}),
        LoopbackCloud::Reply::json(QJsonArray{numericCode}),
        LoopbackCloud::Reply::json(QJsonObject{{u"MessageCode"_s, u"8000008"_s}}),
        LoopbackCloud::Reply::text("<html>maintenance</html>"),
        LoopbackCloud::Reply::json(QJsonArray{cloudEntry(u"8000008"_s)}, 500),
        LoopbackCloud::Reply::empty(200),
    };
    for (const LoopbackCloud::Reply& reply : replies) {
        SCOPED_TRACE(reply.body.toStdString());
        env.cloud.route(u"GET"_s, Paths::getEuaMessages, reply);
        EXPECT_EQ(fetch(), std::optional<bool>(false));
        EXPECT_EQ(codes(), QStringList{AppConstants::Codes::missingMessage});
    }
    QFile log(Logger::currentFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.contains(u"callApiGetEuaMessages()"_s));
    EXPECT_TRUE(text.contains(u"MessagerDescriptionUserFriendly"_s))
        << "the decoding error is named";
}

TEST_F(StartupTest, OfflineTheCatalogueIsNotRequested) {
    NetworkManager::shared().setConnected(false);
    EXPECT_EQ(fetch(), std::optional<bool>(false));
    spinFor(50);
    EXPECT_EQ(env.cloud.requestCount(), 0);
    EXPECT_EQ(codes(), QStringList{AppConstants::Codes::missingMessage});
}

TEST(SceneRegistrationTest, EveryIdentifierMakesItsScreen) {
    registerScenes();
    const auto make = [](const QString& identifier) {
        return Storyboard::main().instantiate(identifier);
    };
    EXPECT_NE(
        qobject_cast<OstrivaneCustomAlertView*>(make(AppConstants::Scenes::customAlertView).get()),
        nullptr);
    EXPECT_NE(
        qobject_cast<OstrivaneWelcomeScreen*>(make(AppConstants::Scenes::welcomeScreen).get()),
        nullptr);
    EXPECT_NE(qobject_cast<OstrivaneCheckForUpgradesViewController*>(
                  make(AppConstants::Scenes::checkForUpgradesViewController).get()),
              nullptr);
    // The screens that others embed can be embedded, whatever stands in for them.
    for (const QString& embedded :
         {AppConstants::Scenes::logsViewController, AppConstants::Scenes::quizViewController}) {
        SCOPED_TRACE(embedded.toStdString());
        EXPECT_NE(dynamic_cast<ChildViewController*>(make(embedded).get()), nullptr);
    }
    EXPECT_NE(make(AppConstants::Scenes::helpViewController), nullptr);
}
