// Module-wide state: the sign-out reset, and the settings store that may be absent.
#include "core/AppState.h"
#include "cloud/GlobalUserManager.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(AppStateReset, ReturnsTheQuizAndHelpStateToItsStartAndKeepsTheRest) {
    StructEuaMessage message;
    message.messageCode = u"8000008"_s;
    AppState::EuaMessage = {message};
    AppState::Quizzes = {Quiz{}};
    AppState::QuizChoices = {StructQuizChoicesSubmit(101, 1001, 2)};
    AppState::QuizResult = {StructQuizResult{}};
    AppState::GetUserQuizTracker = {StructGetUserQuizTracker{}};
    AppState::GetFromZubAppConfig = {StructGetFromZubAppConfig{}};
    AppState::g_fullVersionFromTxForAudit.reset();
    AppState::g_deviceID = u"T123"_s;
    AppState::g_quizFailAttempts = 4;
    AppState::g_isReturningFromUpgrade = true;
    AppState::g_appUserDefaultUrl = u"/tmp/AppUserDefault.txt"_s;
    AppState::AppUserDefault = {{u"builddate"_s, u"2026"_s}};
    AppState::g_currentAppVersion = u"1.4"_s;
    AppState::defaults().setValue(u"LogFileName"_s, u"kept.csv"_s);
    GlobalUserManager::shared().currentUserFirmwareInfo = UserFirmwareInfo{};
    GlobalUserManager::shared().auditHistory = QList<AuditHistoryElement>{AuditHistoryElement{}};

    AppState::resetForSignOut();

    EXPECT_TRUE(AppState::Quizzes.isEmpty());
    EXPECT_TRUE(AppState::QuizChoices.isEmpty());
    EXPECT_TRUE(AppState::QuizResult.isEmpty());
    EXPECT_TRUE(AppState::GetUserQuizTracker.isEmpty());
    EXPECT_TRUE(AppState::GetFromZubAppConfig.isEmpty());
    // Empty text, not absent: the quiz reads it as the firmware version from now on.
    EXPECT_EQ(AppState::g_fullVersionFromTxForAudit, QString());
    EXPECT_EQ(AppState::g_deviceID, QString());
    EXPECT_EQ(AppState::g_quizFailAttempts, 0);
    EXPECT_FALSE(AppState::g_isReturningFromUpgrade);
    EXPECT_EQ(GlobalUserManager::shared().currentUserFirmwareInfo, std::nullopt);
    EXPECT_EQ(GlobalUserManager::shared().auditHistory, std::nullopt);

    ASSERT_EQ(AppState::EuaMessage.size(), 1);
    EXPECT_EQ(AppState::g_appUserDefaultUrl, u"/tmp/AppUserDefault.txt"_s);
    EXPECT_EQ(AppState::AppUserDefault.value(u"builddate"_s), u"2026"_s);
    EXPECT_EQ(AppState::g_currentAppVersion, u"1.4"_s);
    EXPECT_EQ(AppState::defaults().string(u"LogFileName"_s), u"kept.csv"_s);

    AppState::EuaMessage.clear();
    AppState::defaults().removeObject(u"LogFileName"_s);
}

TEST(SettingsStore, WritesSurviveAReopenOfTheSameStore) {
    QTemporaryDir dir;
    const QString file = dir.filePath(u"suite.ini"_s);
    {
        SettingsStore store(file);
        store.setValue(u"LogFileName"_s, u"WPZ.csv"_s);
        store.setValue(u"PendingAudits"_s, u"8000003"_s);
        store.removeObject(u"PendingAudits"_s);
    }
    SettingsStore reopened(file);
    EXPECT_TRUE(reopened.isAvailable());
    EXPECT_EQ(reopened.string(u"LogFileName"_s), u"WPZ.csv"_s);
    EXPECT_EQ(reopened.value(u"PendingAudits"_s), std::nullopt);
    EXPECT_EQ(reopened.string(u"Missing"_s), std::nullopt);
}

TEST(SettingsStore, EachOpenReadsTheFileAsItIsNowEvenAtTheSameSize) {
    // Opened again and again within moments, on files that differ only in their value.
    QTemporaryDir dir;
    const QString file = dir.filePath(u"suite.ini"_s);
    for (int i = 10; i < 30; ++i) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[General]\nLogFileName=" + QByteArray::number(i) + ".csv\n");
        out.close();
        EXPECT_EQ(SettingsStore(file).string(u"LogFileName"_s), QString::number(i) + u".csv"_s);
    }
}

TEST(SettingsStore, WhenAbsentReadsYieldNothingAndWritesAreSkipped) {
    SettingsStore& defaults = AppState::defaults();
    defaults.setValue(u"LogFileName"_s, u"before.csv"_s);
    defaults.reset(std::nullopt);
    EXPECT_FALSE(defaults.isAvailable());
    EXPECT_EQ(defaults.value(u"LogFileName"_s), std::nullopt);
    defaults.setValue(u"LogFileName"_s, u"during.csv"_s);
    defaults.removeObject(u"LogFileName"_s);
    defaults.synchronize();

    defaults.reset(AppState::defaultsSuiteFile());
    EXPECT_EQ(defaults.string(u"LogFileName"_s), u"before.csv"_s);
    defaults.removeObject(u"LogFileName"_s);
}

TEST(SettingsStore, TheApplicationsSuiteIsSeparateFromTheStandardStore) {
    // The files are those QSettings keeps these scopes in (on Linux, INI files).
    const auto fileOf = [](const QString& application) {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Ostrivane"_s, application)
            .fileName()
            .toStdString();
    };
    EXPECT_EQ(AppState::defaultsSuiteFile().toStdString(), fileOf(u"Pellory.defaults"_s));
    EXPECT_EQ(AppState::standardDefaultsFile().toStdString(), fileOf(u"PelloryTests"_s));
    AppState::defaults().setValue(u"Quiz"_s, u"own"_s);
    AppState::standardDefaults().setValue(u"Quiz"_s, u"standard"_s);
    EXPECT_EQ(AppState::defaults().string(u"Quiz"_s), u"own"_s);
    EXPECT_EQ(AppState::standardDefaults().string(u"Quiz"_s), u"standard"_s);
    AppState::defaults().removeObject(u"Quiz"_s);
    AppState::standardDefaults().removeObject(u"Quiz"_s);
}

} // namespace
