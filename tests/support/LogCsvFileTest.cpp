#include "support/LogCsvFile.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Helper.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class LogCsvFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Helper::getDirectoryUrl());
        folder = QDir(*Helper::getDirectoryUrl());
        folder.removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder.path()));
        AppState::defaults().removeObject(AppConstants::userdefaultKeys::logFileName);
    }
    void TearDown() override {
        folder.removeRecursively();
        AppState::defaults().removeObject(AppConstants::userdefaultKeys::logFileName);
    }
    QByteArray read(const QString& name) const {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QDir folder;
};

const QString kFirst = QStringLiteral("WPZ_0000_T1_00_0000_0002026.12.06T02.05.09.csv");
const QString kSecond = QStringLiteral("WPZ_0000_T1_00_0000_0002026.12.06T02.07.00.csv");

TEST_F(LogCsvFileTest, WriteStoresTheWholeTextAndThenItsName) {
    const QString csv = QStringLiteral("QXJVERSION,1.0\nGlükose,µ,😀\n");
    const auto result = LogCsvFile::write(kFirst, csv);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.path, folder.filePath(kFirst));
    EXPECT_EQ(read(kFirst), csv.toUtf8());
    EXPECT_EQ(LogCsvFile::storedName(), kFirst);

    // The same name again replaces the file whole.
    ASSERT_TRUE(LogCsvFile::write(kFirst, QStringLiteral("short")).ok);
    EXPECT_EQ(read(kFirst), QByteArray("short"));
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList({kFirst}));
}

TEST_F(LogCsvFileTest, FailedWriteKeepsTheEarlierNameAndLeavesNoFile) {
    ASSERT_TRUE(LogCsvFile::write(kFirst, QStringLiteral("first run")).ok);
    // Something in the way of the new file.
    ASSERT_TRUE(folder.mkpath(kSecond + QStringLiteral("/inside")));
    const auto failed = LogCsvFile::write(kSecond, QStringLiteral("second run"));
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
    EXPECT_EQ(LogCsvFile::storedName(), kFirst);
    EXPECT_EQ(read(kFirst), QByteArray("first run"));

    // Names that would leave the folder are refused.
    for (const QString& name : {QStringLiteral("../escape.csv"), QStringLiteral("a/b.csv"),
                                QStringLiteral(".."), QString()}) {
        EXPECT_FALSE(LogCsvFile::write(name, QStringLiteral("x")).ok) << name.toStdString();
    }
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("../escape.csv"))));
    EXPECT_EQ(LogCsvFile::storedName(), kFirst);
}

TEST_F(LogCsvFileTest, OnlyAFileHoldingTheWholeWriteIsWhole) {
    const auto written = LogCsvFile::write(kFirst, QStringLiteral("Header,1\nrow\n"));
    ASSERT_TRUE(written.ok);
    EXPECT_EQ(written.size, 13);
    EXPECT_TRUE(LogCsvFile::isWhole(kFirst, written.size));
    // Cut short, emptied, or gone since the write.
    ASSERT_TRUE(QFile::resize(folder.filePath(kFirst), written.size - 1));
    EXPECT_FALSE(LogCsvFile::isWhole(kFirst, written.size));
    ASSERT_TRUE(QFile::resize(folder.filePath(kFirst), 0));
    EXPECT_FALSE(LogCsvFile::isWhole(kFirst, 0));
    EXPECT_FALSE(LogCsvFile::isWhole(kSecond, 0));
}

TEST_F(LogCsvFileTest, DeletionTakesOnlyTheStoredFileAndThenTheName) {
    ASSERT_TRUE(LogCsvFile::write(kFirst, QStringLiteral("failed upload")).ok);
    ASSERT_TRUE(LogCsvFile::write(kSecond, QStringLiteral("this run")).ok);

    EXPECT_EQ(LogCsvFile::deleteStored(), LogCsvFile::DeleteResult::deleted);
    EXPECT_FALSE(QFile::exists(folder.filePath(kSecond)));
    EXPECT_EQ(read(kFirst), QByteArray("failed upload")) << "an older run's file stays";
    EXPECT_FALSE(LogCsvFile::storedName());
    EXPECT_EQ(LogCsvFile::deleteStored(), LogCsvFile::DeleteResult::noStoredName);
}

TEST_F(LogCsvFileTest, MissingOrUndeletableFileKeepsTheName) {
    ASSERT_TRUE(LogCsvFile::write(kFirst, QStringLiteral("x")).ok);
    ASSERT_TRUE(QFile::remove(folder.filePath(kFirst)));
    EXPECT_EQ(LogCsvFile::deleteStored(), LogCsvFile::DeleteResult::noFile);
    EXPECT_EQ(LogCsvFile::storedName(), kFirst);

    // The name now stands for a folder with content, which a file removal cannot take.
    ASSERT_TRUE(folder.mkpath(kFirst + QStringLiteral("/inside")));
    QString error;
    EXPECT_EQ(LogCsvFile::deleteStored(&error), LogCsvFile::DeleteResult::failed);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(LogCsvFile::storedName(), kFirst);
}

} // namespace
