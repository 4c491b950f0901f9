// Every kind of file the application saves, against a real full disk: the save fails, says so,
// and the old file stays as it was; with room again, the next save goes through. (What sits at
// a file's place when it is not a regular file is tried in tests/app/OddFilesTest.cpp.)
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Helper.h"
#include "core/IniText.h"
#include "core/Logger.h"
#include "core/SetAside.h"
#include "doubles/FullDisk.h"
#include "doubles/WaitFor.h"
#include "platform/RegularFile.h"
#include "platform/TimeScale.h"
#include "signin/AppUserDefaultStore.h"
#include "support/LogCsvFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString csvName = u"WPZ_0000_T1_00_0000_0002026.12.07T09.00.00.csv"_s;
const QString logFileName = AppConstants::userdefaultKeys::logFileName;

// One kind of saved file: where it lies, the bytes an earlier save left, how a value is saved,
// and whether the file's bytes hold a saved value along with what the save must keep.
struct SavedFile {
    const char* name;
    std::function<QString()> path;
    QByteArray old;
    std::function<bool(const QString& value)> save;
    std::function<bool(const QByteArray& bytes, const QString& value)> holds;
    // The value the application reads after a save, where it keeps one in memory.
    std::function<QString()> inMemory = {};
};

void PrintTo(const SavedFile& file, std::ostream* out) {
    *out << file.name;
}

const QList<SavedFile> savedFiles{
    {"LogCsvFile", [] { return QDir(*Helper::getDirectoryUrl()).filePath(csvName); },
     "Header,QXJVERSION,1.3\nearlier run\n",
     [](const QString& value) { return LogCsvFile::write(csvName, value).ok; },
     [](const QByteArray& bytes, const QString& value) { return bytes == value.toUtf8(); }},
    {"AppUserDefault",
     [] {
         AppState::g_appUserDefaultUrl =
             QDir(*Helper::getDirectoryUrl()).filePath(AppConstants::AppUserDefaultFile::fileName);
         AppState::AppUserDefault.clear();
         return *AppState::g_appUserDefaultUrl;
     },
     R"({"T1-3.2-12":"2","signin":"kept"})",
     [](const QString& value) {
         return AppUserDefaultStore::setAppUserDefault(u"T1-3.2-12"_s, value).ok;
     },
     [](const QByteArray& bytes, const QString& value) {
         return QJsonDocument::fromJson(bytes).object() ==
                QJsonObject{{u"T1-3.2-12"_s, value}, {u"signin"_s, u"kept"_s}};
     },
     [] { return AppUserDefaultStore::getAppUserDefault(u"T1-3.2-12"_s); }},
    // Keys of other programs, the quiz among them, stay as QSettings reads them.
    {"SettingsStore", [] { return AppState::defaultsSuiteFile(); },
     "[General]\nLogFileName=first.csv\nQuiz=\"[{\\\"QuizID\\\":12}]\"\nSignInUser=kept\n",
     [](const QString& value) {
         AppState::defaults().setValue(logFileName, value);
         return AppState::defaults().synchronize();
     },
     [](const QByteArray& bytes, const QString& value) {
         return IniText::parse(bytes, QFileInfo(AppState::defaultsSuiteFile()).path()) ==
                QVariantMap{{logFileName, value},
                            {u"Quiz"_s, uR"([{"QuizID":12}])"_s},
                            {u"SignInUser"_s, u"kept"_s}};
     },
     [] { return AppState::defaults().string(logFileName).value_or(QString()); }},
};

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

class SaveTest : public ::testing::Test {
protected:
    // The stores read the file as a test puts it in place.
    void TearDown() override {
        AppState::g_appUserDefaultUrl.reset();
        AppState::AppUserDefault.clear();
        AppState::defaults().reset(AppState::defaultsSuiteFile());
        AppState::defaults().removeObject(logFileName);
    }
    void putInPlace(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        AppState::defaults().reset(AppState::defaultsSuiteFile());
    }
};

TEST_F(SaveTest, SettingsStoreNeedsNoRoomInTheSystemsTemporaryFolder) {
    // A file where the temporary folder should be: nothing can be made there, not even by root.
    const QString path = AppState::defaultsSuiteFile();
    const QString notAFolder = QFileInfo(path).path() + u"/not-a-folder"_s;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    putInPlace(notAFolder, "x");
    const QByteArray tmp = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([&] {
        tmp.isEmpty() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmp);
        QFile::remove(notAFolder);
    });
    qputenv("TMPDIR", notAFolder.toLocal8Bit());
    putInPlace(path, "[General]\nLogFileName=first.csv\n");
    const QStringList before =
        QDir(QFileInfo(path).path()).entryList(QDir::AllEntries | QDir::Hidden);

    EXPECT_EQ(AppState::defaults().string(logFileName), u"first.csv"_s);
    AppState::defaults().setValue(logFileName, u"second.csv"_s);
    EXPECT_TRUE(AppState::defaults().synchronize());
    EXPECT_TRUE(contentOf(path).contains("LogFileName=second.csv"))
        << contentOf(path).toStdString();
    // The scratch work beside the file leaves nothing there.
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::AllEntries | QDir::Hidden), before);
}

// A settings file that QSettings cannot take whole, or past the bound of a read, would refuse
// every write: the first write sets it aside and begins afresh with what could be read of it.
TEST_F(SaveTest, ADamagedSettingsStoreIsSetAsideAndWhatIsWrittenThenSurvivesARestart) {
    const QString path = AppState::defaultsSuiteFile();
    const QString pending = AppConstants::userdefaultKeys::pendingAudits;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    const QByteArray tooLarge = "[General]\nkept=" + QByteArray(RegularFile::maxReadBytes, 'x');
    int line = 0;
    for (const QByteArray& damaged : {"[General]\nkept=yes\n[Other\n"_ba, tooLarge}) {
        putInPlace(path, damaged);
        line = __LINE__ + 1;
        AppState::defaults().setValue(pending, u"8000017"_s);
        EXPECT_TRUE(contentOf(SetAside::copiesOf(path).value(0)) == damaged);
        AppState::defaults().reset(path);
        EXPECT_EQ(AppState::defaults().string(pending), u"8000017"_s);
        EXPECT_EQ(AppState::defaults().string(u"kept"_s),
                  damaged == tooLarge ? std::nullopt : std::optional(u"yes"_s));
    }
    // Said once each, naming the place of the write.
    EXPECT_EQ(contentOf(Logger::currentFilePath())
                  .count("function: TestBody | line: " + QByteArray::number(line) + " | ERROR:"),
              2);
    for (const QString& copy : SetAside::copiesOf(path))
        QFile::remove(copy);
}

class FullDiskSaveTest : public SaveTest, public ::testing::WithParamInterface<SavedFile> {};

TEST_P(FullDiskSaveTest, KeepsTheOldFileAndSavesOnceThereIsRoom) {
    const SavedFile& saved = GetParam();
    const QString path = saved.path();
    QString whyNot;
    const std::unique_ptr<FullDisk> disk = FullDisk::over(QFileInfo(path).path(), &whyNot);
    if (!disk)
        GTEST_SKIP() << whyNot.toStdString();
    putInPlace(path, saved.old);
    disk->fill();
    TimeScale::setFactor(0.01);
    const auto unscale = qScopeGuard([] { TimeScale::setFactor(1); });

    EXPECT_FALSE(saved.save(u"second"_s));
    EXPECT_EQ(contentOf(path), saved.old);
    if (saved.inMemory) {
        EXPECT_EQ(saved.inMemory(), u"second"_s);
    }

    disk->makeRoom();
    if (saved.inMemory) {
        // The refused change waits, and is tried again without another save.
        EXPECT_TRUE(waitFor([&] { return saved.holds(contentOf(path), u"second"_s); }));
    }
    EXPECT_TRUE(saved.save(u"third"_s));
    EXPECT_TRUE(saved.holds(contentOf(path), u"third"_s)) << contentOf(path).toStdString();
}

mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// What is saved, and the folder of ours it is saved in, is the user's alone whatever the umask,
// also where an earlier build left them open; the folders ours sit in stay as they are.
TEST_P(FullDiskSaveTest, WhatItSavesIsTheUsersAlone) {
    const SavedFile& saved = GetParam();
    const QString path = saved.path();
    const mode_t umaskBefore = ::umask(022);
    const auto restore = qScopeGuard([&] { ::umask(umaskBefore); });
    const QString notOurs[] = {
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)};
    for (const QString& folder : {QFileInfo(path).path(), notOurs[0], notOurs[1]})
        ASSERT_TRUE(QDir().mkpath(folder));
    putInPlace(path, saved.old);
    for (const QString& open : {path, QFileInfo(path).path(), notOurs[0], notOurs[1]})
        ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), open == path ? 0644 : 0755), 0);

    EXPECT_TRUE(saved.save(u"second"_s));
    Logger::log(u"a line"_s);
    EXPECT_EQ(modeOf(path), 0600);
    EXPECT_EQ(modeOf(Logger::currentFilePath()), 0600);
    EXPECT_EQ(modeOf(QFileInfo(path).path()), 0700);
    EXPECT_EQ(modeOf(notOurs[0]), 0755);
    EXPECT_EQ(modeOf(notOurs[1]), 0755);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FullDiskSaveTest, ::testing::ValuesIn(savedFiles),
                         [](const auto& param) { return std::string(param.param.name); });

// A link to a regular file beside it is how a user may keep a file under another name: the save
// goes through it to that file, and the link stays.
TEST_P(FullDiskSaveTest, WritesThroughALinkToAFileInTheSameFolder) {
    const SavedFile& saved = GetParam();
    const QString path = saved.path();
    const QString target = path + u".real"_s;
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    putInPlace(target, saved.old);
    ASSERT_TRUE(QFile::link(QFileInfo(target).fileName(), path));

    EXPECT_TRUE(saved.save(u"second"_s));
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), target);
    EXPECT_TRUE(saved.holds(contentOf(target), u"second"_s)) << contentOf(target).toStdString();
    QFile::remove(path);
    QFile::remove(target);
}

} // namespace
