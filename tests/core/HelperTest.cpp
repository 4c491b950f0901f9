// The helpers' exact texts and formats.
#include "StdoutCapture.h"

#include "cloud/GlobalUserManager.h"
#include "core/AppState.h"
#include "core/Helper.h"
#include "platform/BundleInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QDateTime at(int hour, int minute, int second, int offsetSeconds = 0) {
    return QDateTime(QDate(2026, 12, 6), QTime(hour, minute, second), QTimeZone(offsetSeconds));
}

TEST(HelperLogFileName, IsBuiltFromTheTransmitterAndA12HourTimeStamp) {
    EXPECT_EQ(Helper::createLogFileName(u"T123"_s, at(14, 5, 9)),
              u"WPZ_0000_T123_00_0000_0002026.12.06T02.05.09.csv"_s);
    EXPECT_EQ(Helper::createLogFileName(u"T123"_s, at(0, 30, 0)),
              u"WPZ_0000_T123_00_0000_0002026.12.06T12.30.00.csv"_s);
    EXPECT_EQ(Helper::createLogFileName(u"T123"_s, at(12, 0, 1)),
              u"WPZ_0000_T123_00_0000_0002026.12.06T12.00.01.csv"_s);
    EXPECT_EQ(Helper::createLogFileName(u"T123"_s, at(9, 59, 59)),
              u"WPZ_0000_T123_00_0000_0002026.12.06T09.59.59.csv"_s);
}

TEST(HelperLogFileName, AnEmptyIdLeavesTwoUnderscoresAndAnUnsafeIdStaysInTheFolder) {
    EXPECT_EQ(Helper::createLogFileName(QString(), at(14, 5, 9)),
              u"WPZ_0000__00_0000_0002026.12.06T02.05.09.csv"_s);
    const QString name = Helper::createLogFileName(u"../a/b\\c\"\r\n:"_s, at(14, 5, 9));
    EXPECT_EQ(name, u"WPZ_0000_.._a_b_c_____00_0000_0002026.12.06T02.05.09.csv"_s);
    EXPECT_EQ(QFileInfo(name).fileName(), name);
}

TEST(HelperGmtString, ShowsTheDateInEnglishAndTheZonesOffset) {
    EXPECT_EQ(Helper::getGmtDateTimeString(at(14, 5, 9, 5 * 3600 + 1800)),
              u"December 6 2026 at 2:05 PM(GMT 5:30)"_s);
    EXPECT_EQ(Helper::getGmtDateTimeString(at(0, 7, 0, -(3 * 3600 + 1800))),
              u"December 6 2026 at 12:07 AM(GMT -3:30)"_s);
    EXPECT_EQ(Helper::getGmtDateTimeString(at(23, 59, 0, -5 * 3600)),
              u"December 6 2026 at 11:59 PM(GMT -5:00)"_s);
    EXPECT_EQ(Helper::getGmtDateTimeString(at(9, 0, 0)), u"December 6 2026 at 9:00 AM(GMT 0:00)"_s);
    EXPECT_EQ(Helper::getGmtDateTimeString(at(9, 0, 0, 5 * 3600 + 45 * 60)),
              u"December 6 2026 at 9:00 AM(GMT 5:45)"_s);
    // Less than an hour west of GMT keeps its sign.
    EXPECT_EQ(Helper::getGmtDateTimeString(at(9, 0, 0, -1800)),
              u"December 6 2026 at 9:00 AM(GMT -0:30)"_s);
}

TEST(HelperUsbMessageSize, IsTheHeaderPlusTheLittleEndianLength) {
    StdoutCapture out;
    EXPECT_EQ(Helper::getUSBMessageSize(QByteArray::fromHex("010a00")), 13);
    EXPECT_EQ(Helper::getUSBMessageSize(QByteArray::fromHex("ff3412aabb")), 3 + 0x1234);
    EXPECT_EQ(Helper::getUSBMessageSize(QByteArray::fromHex("00ffff")), 3 + 0xffff);
    EXPECT_EQ(Helper::getUSBMessageSize(QByteArray::fromHex("010a")), std::nullopt);
    EXPECT_EQ(Helper::getUSBMessageSize(QList<int>{1, 10, 0, 7}), 13);
    EXPECT_EQ(Helper::getUSBMessageSize(QList<int>{1, 10}), std::nullopt);
    EXPECT_EQ(Helper::getUSBMessageSize(QList<int>{1, 256, 0}), std::nullopt);
    EXPECT_EQ(Helper::getUSBMessageSize(QList<int>{1, -1, 0}), std::nullopt);
    EXPECT_EQ(out.text(), QByteArray("Expected response byte count: 13\n"
                                     "Expected response byte count: 4663\n"
                                     "Expected response byte count: 65538\n"
                                     "Message too short to contain a valid header\n"
                                     "Expected response byte count: 13\n"
                                     "Message too short to contain a valid header\n"));
}

AuditHistoryElement row(const QString& date, const QString& tx, const QString& fw,
                        const QString& code, const QString& description) {
    AuditHistoryElement r;
    r.auditDate = date;
    r.transmitterID = tx;
    r.firmwareID = fw;
    r.errorCode = code;
    r.failureDescription = description;
    return r;
}

QByteArray decoded(const QString& base64) {
    return QByteArray::fromBase64(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
}

TEST(HelperAuditLog, IsTheBase64OfTheActivityCsv) {
    const QString base64 = Helper::getBase64AuditLog(QList<AuditHistoryElement>{
        row(u"12/06/2026"_s, u"T123"_s, u"2.1.0"_s, u"8000003"_s, u"Upload done"_s),
        row(u"12/07/2026"_s, u"T124"_s, u"2.2.0"_s, u"5000051"_s, u"Quiz passé ✓"_s)});
    EXPECT_EQ(decoded(base64), QByteArray("Date, TransmitterID, FirmwareID, Code, Description\n"
                                          "12/06/2026,T123, 2.1.0,8000003,Upload done\n"
                                          "12/07/2026,T124, 2.2.0,5000051,Quiz pass\xc3\xa9 "
                                          "\xe2\x9c\x93\n"));
    EXPECT_FALSE(base64.contains(u'\n'));
}

TEST(HelperAuditLog, KeepsFieldsHoldingSeparatorsInTheirColumns) {
    AuditHistoryElement missing;
    missing.errorCode = u"8000008"_s;
    const QString base64 = Helper::getBase64AuditLog(QList<AuditHistoryElement>{
        row(u"d"_s, u"T1"_s, u"f"_s, u"8000008"_s, u"Failed, \"port\" gone\nretry"_s), missing});
    EXPECT_EQ(decoded(base64), QByteArray("Date, TransmitterID, FirmwareID, Code, Description\n"
                                          "d,T1, f,8000008,\"Failed, \"\"port\"\" gone\nretry\"\n"
                                          ",, ,8000008,\n"));
}

TEST(HelperAuditLog, IsEmptyWithoutHistory) {
    EXPECT_EQ(Helper::getBase64AuditLog(std::nullopt), QString());
    EXPECT_EQ(Helper::getBase64AuditLog(QList<AuditHistoryElement>{}), QString());
}

QString computerType() {
#if defined(Q_OS_MACOS)
    return u"Mac"_s;
#elif defined(Q_OS_WIN)
    return u"Windows"_s;
#else
    return u"Linux"_s;
#endif
}

TEST(HelperSystemInfo, ListsTheUsersFirmwareRecordAndTheAppVersion) {
    UserFirmwareInfo info;
    info.id = u"user"_s;
    info.transmitterID = 4711;
    info.transmitterVersionNo = u"2.1.0"_s;
    info.sensorID = u"S-9"_s;
    info.insertionDateTime = u"12/01/2026"_s;
    info.appVersion = u"6.3"_s;
    EXPECT_EQ(Helper::getSystemInfo(info, u"1.4"_s),
              u"\n\nSystem Information:\n==============\nTransmitter Serial Number : 4711 \n "
              u"Firmware Version: 2.1.0 \n Sensor Serial Number: S-9 \n Insertion Date: "
              u"12/01/2026 \n MMA Version: 6.3 \n Ostrivane Pellory app Version: 1.4 \n Computer "
              u"Type: "_s +
                  computerType());
}

TEST(HelperSystemInfo, ShowsZeroAndEmptyValuesWithoutARecordAndNothingWithoutAVersion) {
    EXPECT_EQ(Helper::getSystemInfo(std::nullopt, u"1.4"_s),
              u"\n\nSystem Information:\n==============\nTransmitter Serial Number : 0 \n "
              u"Firmware Version:  \n Sensor Serial Number:  \n Insertion Date:  \n MMA "
              u"Version:  \n Ostrivane Pellory app Version: 1.4 \n Computer Type: "_s +
                  computerType());
    EXPECT_EQ(Helper::getSystemInfo(UserFirmwareInfo{}, std::nullopt), QString());
}

TEST(HelperSignedInUser, TheSystemInfoAndActivityCsvComeFromTheUsersRecords) {
    QTemporaryDir dir;
    QFile info(dir.filePath(u"Info.json"_s));
    ASSERT_TRUE(info.open(QIODevice::WriteOnly));
    info.write(R"({"CFBundleShortVersionString": "1.4"})");
    info.close();
    BundleInfo::setFilePath(info.fileName());
    UserFirmwareInfo record;
    record.transmitterID = 77;
    GlobalUserManager::shared().currentUserFirmwareInfo = record;
    GlobalUserManager::shared().auditHistory =
        QList<AuditHistoryElement>{row(u"d"_s, u"T"_s, u"f"_s, u"c"_s, u"x"_s)};

    EXPECT_TRUE(Helper::getSystemInfo().contains(u"Transmitter Serial Number : 77 \n"_s));
    EXPECT_TRUE(Helper::getSystemInfo().contains(u"Ostrivane Pellory app Version: 1.4 \n"_s));
    EXPECT_TRUE(decoded(Helper::getBase64AuditLog()).endsWith("\nd,T, f,c,x\n"));

    BundleInfo::setFilePath(dir.filePath(u"missing.json"_s));
    GlobalUserManager::shared().clear();
    EXPECT_EQ(Helper::getSystemInfo(), QString());
    EXPECT_EQ(Helper::getBase64AuditLog(), QString());
    BundleInfo::setFilePath(QString());
}

TEST(HelperFolder, IsCreatedAndLocatesTheSettingsFile) {
    const std::optional<QString> folder = Helper::getDirectoryUrl();
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QDir(*folder).removeRecursively();
    AppState::g_appUserDefaultUrl.reset();

    Helper::createFolderInsideApplicationSupportIfNotExist();
    EXPECT_TRUE(QFileInfo(*folder).isDir());
    EXPECT_EQ(AppState::g_appUserDefaultUrl, QDir(*folder).filePath(u"AppUserDefault.txt"_s));
    // A second run finds the folder in place and changes nothing.
    Helper::createFolderInsideApplicationSupportIfNotExist();
    EXPECT_TRUE(QFileInfo(*folder).isDir());
}

} // namespace
