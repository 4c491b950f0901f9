// The application's own files when what sits at their path is not a plain file, and when a
// size limit stops a write. Each case runs in a fresh copy of the test process that is ended
// after ten seconds, so that a hang, an endless read or a fatal signal fails that case alone.
#include "app/AppDelegate.h"
#include "cloud/GlobalManager.h"
#include "core/AppState.h"
#include "core/Clock.h"
#include "core/Helper.h"
#include "core/Logger.h"
#include "core/StdoutCapture.h"
#include "doubles/FullDisk.h"
#include "doubles/LoopbackCloud.h"
#include "doubles/WaitFor.h"
#include "platform/BundleInfo.h"
#include "platform/TimeScale.h"
#include "signin/AppUserDefaultStore.h"
#include "support/LogCsvFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Runs check, which returns what went wrong, in a fresh copy of this process that is ended
// after ten seconds, and expects it to end with nothing wrong.
void expectInFreshProcess(const std::function<QString()>& check) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto checkAndExit = [&] {
        ::alarm(10);
        const QString wrong = check();
        std::fputs(qPrintable(wrong + u'\n'), stderr);
        // The copy's private home from the shared main, whose clean-up ending at once skips.
        QDir(qEnvironmentVariable("HOME")).removeRecursively();
        std::fflush(nullptr);
        std::_Exit(wrong.isEmpty() ? 0 : 1);
    };
    EXPECT_EXIT(checkAndExit(), testing::ExitedWithCode(0), "");
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString inFolder(const QString& name) {
    return QDir(*Helper::getDirectoryUrl()).filePath(name);
}

// What sits at path, without following a link, and what the file outside the folder holds.
QString snapshot(const QString& path, const QString& outside) {
    const QFileInfo info(path);
    const QString what = info.isSymLink() ? info.symLinkTarget()
                                          : u"%1 %2 %3"_s.arg(info.isFile())
                                                .arg(info.size())
                                                .arg(QDir(path).entryList().join(u','));
    return what + u" | "_s + QString::fromUtf8(contents(outside));
}

QString savedOrRefused(bool saved) {
    return saved ? u"saved"_s : u"refused"_s;
}

struct OwnFile {
    const char* name;
    QString (*path)();
    QByteArray outsideBytes; // what a link out of the folder leads to
    // What the application does with the file; says what came of it.
    QString (*use)();
    QString refused;     // what comes of it when the file cannot be used
    QString throughLink; // what comes of it through a link to a regular file out of the folder
};

const OwnFile ownFiles[] = {
    {"AppUserDefault", [] { return *AppState::g_appUserDefaultUrl; }, R"({"k":"outside"})",
     [] { return AppUserDefaultStore::getAppUserDefault(u"k"_s); }, u""_s, u"outside"_s},
    {"InfoFile", [] { return inFolder(u"Info.json"_s); },
     R"({"CFBundleShortVersionString":"outside"})",
     [] {
         BundleInfo::setFilePath(inFolder(u"Info.json"_s));
         return BundleInfo::value(u"CFBundleShortVersionString"_s);
     },
     u""_s, u"outside"_s},
    // The debug log follows no link at all.
    {"DebugLog", [] { return Logger::currentFilePath(); }, "outside\n",
     [] {
         Logger::log(u"a line"_s);
         // Read only where the path leads to a regular file: never a FIFO or a device.
         const QString path = Logger::currentFilePath();
         return QFileInfo(path).isFile() && contents(path).contains("a line") ? u"written"_s
                                                                              : u"not written"_s;
     },
     u"not written"_s, u"not written"_s},
    {"LogCsvUpload", [] { return inFolder(u"WPZ_T1.csv"_s); }, "Date,Code\n",
     [] {
         LoopbackCloud cloud;
         cloud.route(u"POST"_s, u"/QXJUpload.aspx"_s, LoopbackCloud::Reply::text("received"));
         std::optional<bool> sent;
         GlobalManager::shared().uploadCSVFile(
             cloud.url(u"/QXJUpload.aspx"_s), u"WPZ_T1.csv"_s,
             [&](const APIResult& result) { sent = result.ok(); });
         if (!waitFor([&] { return sent.has_value(); }))
             return u"no answer"_s;
         return *sent ? u"sent"_s : u"refused"_s;
     },
     u"refused"_s, u"sent"_s},
    // Saves go only to a regular file in the folder: a link out of it is refused too.
    {"AppUserDefaultSave", [] { return *AppState::g_appUserDefaultUrl; }, R"({"k":"outside"})",
     [] { return savedOrRefused(AppUserDefaultStore::setAppUserDefault(u"k"_s, u"saved"_s).ok); },
     u"refused"_s, u"refused"_s},
    {"SettingsSave",
     [] {
         QDir().mkpath(QFileInfo(AppState::defaultsSuiteFile()).path());
         return AppState::defaultsSuiteFile();
     },
     "[General]\nk=outside\n",
     [] {
         AppState::defaults().reset(AppState::defaultsSuiteFile());
         AppState::defaults().setValue(u"k"_s, u"saved"_s);
         return savedOrRefused(AppState::defaults().synchronize());
     },
     u"refused"_s, u"refused"_s},
    {"LogCsvSave", [] { return inFolder(u"WPZ_T2.csv"_s); }, "Date,Code\n",
     [] { return savedOrRefused(LogCsvFile::write(u"WPZ_T2.csv"_s, u"Date,Code\nnew\n"_s).ok); },
     u"refused"_s, u"refused"_s},
};

struct OddKind {
    const char* name;
    bool (*make)(const QString& path, const QString& outside);
    bool leadsToRegularFile;
};

const OddKind oddKinds[] = {
    {"LinkToDevZero",
     [](const QString& path, const QString&) { return QFile::link(u"/dev/zero"_s, path); }, false},
    {"Fifo",
     [](const QString& path, const QString&) {
         return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
     },
     false},
    {"Folder", [](const QString& path, const QString&) { return QDir().mkdir(path); }, false},
    {"LinkOutOfTheFolder",
     [](const QString& path, const QString& outside) { return QFile::link(outside, path); }, true},
};

class OddFileTest : public testing::TestWithParam<std::tuple<OddKind, OwnFile>> {};

TEST_P(OddFileTest, TheUseFinishesAndLeavesTheOddFileAsItWas) {
    const OddKind kind = std::get<0>(GetParam());
    const OwnFile file = std::get<1>(GetParam());
    expectInFreshProcess([&] {
        Helper::createFolderInsideApplicationSupportIfNotExist();
        QTemporaryDir outsideFolder;
        const QString outside = outsideFolder.filePath(u"elsewhere"_s);
        const QString path = file.path();
        if (!write(outside, file.outsideBytes) || !kind.make(path, outside))
            return u"could not make "_s + path;
        const QString before = snapshot(path, outside);
        const QString outcome = file.use();
        const QString expected = kind.leadsToRegularFile ? file.throughLink : file.refused;
        QString wrong;
        if (outcome != expected)
            wrong += u"came to '%1' instead of '%2'. "_s.arg(outcome, expected);
        if (const QString after = snapshot(path, outside); after != before)
            wrong += u"was %1, is %2"_s.arg(before, after);
        return wrong;
    });
}

INSTANTIATE_TEST_SUITE_P(OwnFiles, OddFileTest,
                         testing::Combine(testing::ValuesIn(oddKinds), testing::ValuesIn(ownFiles)),
                         [](const testing::TestParamInfo<OddFileTest::ParamType>& row) {
                             return std::string(std::get<0>(row.param).name) + "_" +
                                    std::get<1>(row.param).name;
                         });

bool limitFileSize(rlim_t bytes) {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = std::min(bytes, limit.rlim_max);
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

// The debug log stands for every write: it is written from the first moment of start-up.
TEST(SizeLimitTest, AWritePastTheLimitFailsWithoutEndingTheApplication) {
    expectInFreshProcess([] {
        AppDelegate::applicationDidFinishLaunching();
        TimeScale::setFactor(0.001);
        Clock::setNowProvider([] { return QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)); });
        Logger::log(u"before the limit"_s);
        const QString log = Logger::currentFilePath();
        const QByteArray before = contents(log);
        QString wrong;
        // No room at all, then room for part of a line: neither leaves a trace.
        limitFileSize(before.size());
        Logger::log(u"no room"_s);
        QThread::msleep(50); // past the pause after a refused write
        limitFileSize(before.size() + 10);
        Logger::log(u"a line of which only the first ten bytes fit"_s);
        if (contents(log) != before)
            wrong += u"the log became: "_s + QString::fromUtf8(contents(log));
        // A save cut short in the same way says why, and that it is a matter of room.
        const LogCsvFile::WriteResult csv =
            LogCsvFile::write(u"WPZ_T3.csv"_s, QString(before.size() + 100, u'x'));
        if (csv.error != qt_error_string(EFBIG) || !csv.noRoom)
            wrong += u" a save cut short said: "_s + csv.error;
        // Once there is room again, the next line is written whole.
        limitFileSize(RLIM_INFINITY);
        QThread::msleep(50);
        Logger::log(u"after"_s);
        if (contents(log) != before + "12/06/2026 14:05:09: after\n")
            wrong += u" after the limit: "_s + QString::fromUtf8(contents(log));
        return wrong;
    });
}

// A change the disk refused gets a last try when SIGTERM ends the application, the way the last
// window's close does; one that still fails is said on the console.
TEST(QuitTest, ARefusedChangeIsTriedOnceMoreWhenSigtermEndsTheApplication) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "a full settings folder alone needs a tmpfs, which needs root";
    expectInFreshProcess([] {
        AppDelegate::applicationDidFinishLaunching();
        const QString file = AppState::defaultsSuiteFile();
        QString whyNot;
        const std::unique_ptr<FullDisk> disk = FullDisk::over(QFileInfo(file).path(), &whyNot);
        if (!disk)
            return whyNot;
        disk->fill();
        AppState::defaults().setValue(u"PendingAudits"_s, u"8000017"_s);
        const auto quitOnSigterm = [] {
            QTimer::singleShot(0, QCoreApplication::instance(), [] { std::raise(SIGTERM); });
            QCoreApplication::exec();
        };
        StdoutCapture console;
        quitOnSigterm();
        QString wrong;
        if (!console.text().contains("Could not be saved before quitting: " + file.toUtf8()))
            wrong += u"the refused change was not reported. "_s;
        disk->makeRoom();
        quitOnSigterm();
        if (!contents(file).contains("PendingAudits=8000017"))
            wrong += u"the change was not written: "_s + QString::fromUtf8(contents(file));
        return wrong;
    });
}

} // namespace
