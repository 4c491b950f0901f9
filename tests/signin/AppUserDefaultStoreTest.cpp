#include "signin/AppUserDefaultStore.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/SetAside.h"
#include "core/StdoutCapture.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace AppUserDefaultStore;
using namespace Qt::StringLiterals;

namespace {

class AppUserDefaultStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(AppConstants::AppUserDefaultFile::fileName);
        AppState::g_appUserDefaultUrl = path;
        AppState::AppUserDefault.clear();
    }
    void TearDown() override {
        AppState::g_appUserDefaultUrl.reset();
        AppState::AppUserDefault.clear();
    }
    void writeRaw(const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray readRaw(const QString& which) const {
        QFile file(which);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QJsonObject fileObject() const { return QJsonDocument::fromJson(readRaw(path)).object(); }

    QTemporaryDir dir;
    QString path;
};

TEST_F(AppUserDefaultStoreTest, StoresAndLooksUpBesideOtherKeys) {
    writeRaw(R"({"builddate":"2024-01-02","EulaAcceptedVersion":"3"})");
    EXPECT_EQ(getAppUserDefault(u"missing"_s), QString());

    ASSERT_TRUE(setAppUserDefault(u"--12"_s, u"2"_s));
    ASSERT_TRUE(setAppUserDefault(u"--12"_s, u"4"_s));

    EXPECT_EQ(fileObject(), (QJsonObject{{u"builddate"_s, u"2024-01-02"_s},
                                         {u"EulaAcceptedVersion"_s, u"3"_s},
                                         {u"--12"_s, u"4"_s}}));
    EXPECT_EQ(getAppUserDefault(u"--12"_s), u"4"_s);
    // Compact UTF-8, no temporary file left behind.
    EXPECT_FALSE(readRaw(path).contains(' '));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(AppUserDefaultStoreTest, NonAsciiValuesSurviveTheRoundTrip) {
    ASSERT_TRUE(setAppUserDefault(u"name"_s, u"Zoë – 測試"_s));
    EXPECT_EQ(getAppUserDefault(u"name"_s), u"Zoë – 測試"_s);
}

TEST_F(AppUserDefaultStoreTest, DeletedFileIsRewrittenFromMemoryPlusTheNewMember) {
    ASSERT_TRUE(setAppUserDefault(u"a"_s, u"1"_s));
    QFile::remove(path);
    ASSERT_TRUE(setAppUserDefault(u"b"_s, u"2"_s));
    EXPECT_EQ(fileObject(), (QJsonObject{{u"a"_s, u"1"_s}, {u"b"_s, u"2"_s}}));
}

TEST_F(AppUserDefaultStoreTest, BlankFileKeepsTheMapInMemory) {
    AppState::AppUserDefault.insert(u"kept"_s, u"yes"_s);
    writeRaw("\n");
    EXPECT_EQ(getAppUserDefault(u"kept"_s), QString());
    ASSERT_TRUE(setAppUserDefault(u"new"_s, u"1"_s));
    EXPECT_EQ(fileObject(), (QJsonObject{{u"kept"_s, u"yes"_s}, {u"new"_s, u"1"_s}}));
}

TEST_F(AppUserDefaultStoreTest, UnparseableFileIsKeptAsideNotLost) {
    // A copy an earlier build kept stays.
    const QString earlier = path + u".unreadable"_s;
    ASSERT_TRUE(QFile::copy(QStringLiteral(__FILE__), earlier));
    // The next two end in an unfinished UTF-8 sequence: after good JSON, and alone. The last
    // is good JSON, but larger than any real settings file.
    const QList<QByteArray> corrupt{R"({"a":"1","b":2})",
                                    R"({"a":"1",)",
                                    "[\"x\"]",
                                    "{\"a\":\"\xff\xfe\"}",
                                    "{\"a\":\"1\"}\xe2\x82",
                                    "\xf0\x9f\x98",
                                    R"({"a":")" + QByteArray(RegularFile::maxReadBytes, 'x') +
                                        R"("})"};
    for (const QByteArray& content : corrupt) {
        SCOPED_TRACE(content.left(40).toStdString());
        AppState::AppUserDefault = {{u"memory"_s, u"m"_s}};
        writeRaw(content);
        EXPECT_TRUE(getAppUserDefault(u"a"_s).isEmpty());

        ASSERT_TRUE(setAppUserDefault(u"new"_s, u"1"_s));
        EXPECT_TRUE(readRaw(SetAside::copiesOf(path).value(0)) == content);
        EXPECT_EQ(fileObject(), (QJsonObject{{u"memory"_s, u"m"_s}, {u"new"_s, u"1"_s}}));
    }
    // Each copy has a name of its own; only the newest few stay.
    EXPECT_EQ(SetAside::copiesOf(path).size(), SetAside::keptCopies);
    EXPECT_TRUE(readRaw(SetAside::copiesOf(path).value(1)) == corrupt.at(corrupt.size() - 2));
    EXPECT_TRUE(QFileInfo(earlier).isFile());
    // Where it cannot be kept aside (the copy's name would be too long), it is not rewritten.
    path = dir.filePath(QString(240, u'a'));
    AppState::g_appUserDefaultUrl = path;
    writeRaw(corrupt.first());
    EXPECT_FALSE(setAppUserDefault(u"new"_s, u"2"_s));
    EXPECT_EQ(readRaw(path), corrupt.first());
}

TEST_F(AppUserDefaultStoreTest, FirstStartWithoutAFileReadsAsEmptyWithoutAnError) {
    StdoutCapture console;
    EXPECT_EQ(getAppUserDefault(u"EulaAcceptedVersion"_s), QString());
    EXPECT_EQ(readFromAppUserDefault(), QString());
    EXPECT_TRUE(getAppUserDefaultFromFileToDictionary());
    EXPECT_TRUE(AppState::AppUserDefault.isEmpty());
    EXPECT_EQ(console.text(), QByteArray());
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(AppUserDefaultStoreTest, UnreadableFileIsNeverOverwritten) {
    // Something that exists at the path but cannot be read as a file.
    ASSERT_TRUE(QDir(dir.path()).mkpath(path + u"/inside"_s));
    StdoutCapture console;
    EXPECT_FALSE(setAppUserDefault(u"b"_s, u"2"_s));
    EXPECT_TRUE(QFileInfo(path + u"/inside"_s).isDir());
    EXPECT_EQ(getAppUserDefault(u"a"_s), QString());
    // Both the store and the lookup say so.
    const QString line = AppConstants::AppUserDefaultFile::readError + u'\n';
    EXPECT_EQ(QString::fromUtf8(console.text()), line + line);
}

TEST_F(AppUserDefaultStoreTest, WithoutLocationNothingIsReadOrWritten) {
    AppState::g_appUserDefaultUrl.reset();
    EXPECT_FALSE(setAppUserDefault(u"a"_s, u"1"_s));
    EXPECT_EQ(getAppUserDefault(u"a"_s), QString());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(AppUserDefaultStoreTest, FailedWriteIsReported) {
    AppState::g_appUserDefaultUrl = dir.filePath(u"no-such-folder/AppUserDefault.txt"_s);
    EXPECT_FALSE(setAppUserDefault(u"a"_s, u"1"_s));
}

} // namespace
