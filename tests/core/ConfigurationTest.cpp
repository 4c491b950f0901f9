// Configuration read from a real information file in a temporary folder, and the cloud
// addresses built on it.
#include "core/Configuration.h"
#include "core/AppConstants.h"
#include "platform/BundleInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class ConfigurationTest : public testing::Test {
protected:
    void TearDown() override {
        qunsetenv("PELLORY_INFO_FILE");
        BundleInfo::setFilePath(QString());
    }

    QString write(const QString& name, const QByteArray& contents) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        return path;
    }

    QTemporaryDir dir_;
};

const QByteArray kInfo = R"({
    "CFBundleShortVersionString": "1.4",
    "HOSTWEBURL": "https:#()web.example",
    "HOSTAPIURL": "https:#()api.example#()v2",
    "HOSTCOMMLIBAPIURL": "http:#()127.0.0.1:8080/commlib",
    "TX_LOG_EXPIRED_MINUTES": 15,
    "FIRMWARE_OUTPUT_IN_LOG_FILE": true,
    "SERIALDEVICEPATH": "/dev/pts/7",
    "HOSTVAULTURL": null
})";

TEST_F(ConfigurationTest, ValuesComeFromTheFileWithSlashesRestored) {
    BundleInfo::setFilePath(write(u"Info.json"_s, kInfo));
    EXPECT_EQ(BaseURLs::value(BaseURLKeys::hostWebURL), u"https://web.example"_s);
    EXPECT_EQ(BaseURLs::value(BaseURLKeys::hostAPIURL), u"https://api.example//v2"_s);
    EXPECT_EQ(Configs::value(ConfigsKeys::serialDevicePath), u"/dev/pts/7"_s);
    EXPECT_EQ(Configs::value(ConfigsKeys::bundleShortVersionString), u"1.4"_s);
    EXPECT_EQ(Configs::value(ConfigsKeys::txLogExpiredMinutes), u"15"_s);
    EXPECT_EQ(Configs::value(ConfigsKeys::firmwareOutputInLogFile), u"YES"_s);
}

TEST_F(ConfigurationTest, AMissingOrNullKeyIsEmptyText) {
    BundleInfo::setFilePath(write(u"Info.json"_s, kInfo));
    EXPECT_EQ(BaseURLs::value(BaseURLKeys::hostAuthenticationURL), QString());
    EXPECT_EQ(BaseURLs::value(BaseURLKeys::hostVaultURL), QString());
    EXPECT_EQ(BundleInfo::find(u"HOSTVAULTURL"_s), std::nullopt);
    EXPECT_EQ(Configs::value(ConfigsKeys::helpEmailAddress), QString());
}

TEST_F(ConfigurationTest, AddressesJoinTheConfiguredBaseAndTheLiteralPath) {
    BundleInfo::setFilePath(write(u"Info.json"_s, kInfo));
    namespace API = AppConstants::API;
    EXPECT_EQ(API::CommLib::logData(),
              u"http://127.0.0.1:8080/commlib/api/LogData/GetCommandBytes"_s);
    EXPECT_EQ(API::CommLib::SendTagClassResponsedBytes(),
              u"http://127.0.0.1:8080/commlib/api/TagClassMapping/SendResponseBytes"_s);
    EXPECT_EQ(API::CommLib::getLogTypes(), API::CommLib::getCommandBytesForLogs());
    EXPECT_EQ(API::Web::QXJDiagnosticsLogs(), u"https://web.example/QXJUpload.aspx"_s);
    EXPECT_EQ(API::Host::getFromZubAppConfig(),
              u"https://api.example//v2/api/Zub/GetFromZubAppConfig"_s);
    EXPECT_EQ(API::Host::setZubAuditHistory(),
              u"https://api.example//v2/api/zub/SetZubAuditHistory"_s);
    // Without a base address only the path remains.
    EXPECT_EQ(API::Vault::getTxFleetSecret(), u"/api/vault/GetTxFleetSecret"_s);
}

TEST_F(ConfigurationTest, TheFileIsReadOnceUntilAnotherIsNamed) {
    const QString path = write(u"Info.json"_s, R"({"ENV": "first"})");
    BundleInfo::setFilePath(path);
    EXPECT_EQ(Configs::value(ConfigsKeys::env), u"first"_s);
    write(u"Info.json"_s, R"({"ENV": "second"})");
    EXPECT_EQ(Configs::value(ConfigsKeys::env), u"first"_s);
    BundleInfo::setFilePath(path);
    EXPECT_EQ(Configs::value(ConfigsKeys::env), u"second"_s);
}

TEST_F(ConfigurationTest, TheEnvironmentNamesTheFileWhenNoneIsSet) {
    qputenv("PELLORY_INFO_FILE", write(u"Other.json"_s, R"({"ENV": "from-env"})").toUtf8());
    BundleInfo::setFilePath(QString());
    EXPECT_EQ(BundleInfo::filePath(), dir_.filePath(u"Other.json"_s));
    EXPECT_EQ(Configs::value(ConfigsKeys::env), u"from-env"_s);
}

TEST_F(ConfigurationTest, AnUnreadableOrMalformedFileGivesEmptyValues) {
    BundleInfo::setFilePath(dir_.filePath(u"missing.json"_s));
    EXPECT_EQ(Configs::value(ConfigsKeys::env), QString());
    BundleInfo::setFilePath(write(u"bad.json"_s, R"({"ENV": "x",)"));
    EXPECT_EQ(Configs::value(ConfigsKeys::env), QString());
    BundleInfo::setFilePath(write(u"array.json"_s, R"(["ENV"])"));
    EXPECT_EQ(Configs::value(ConfigsKeys::env), QString());
}

} // namespace
