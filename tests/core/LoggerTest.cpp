// The debug log file: its name, its lines, its header block, and that it never fails its
// caller.
#include "core/Logger.h"
#include "core/Clock.h"
#include "core/Helper.h"
#include "platform/BundleInfo.h"
#include "platform/TimeScale.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class LoggerTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = *Helper::getDirectoryUrl();
        QDir(folder_).removeRecursively();
        setNow(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
        Logger::setSerialNumberProvider([this] { return serial_; });
    }
    void TearDown() override {
        Clock::setNowProvider({});
        Logger::setSerialNumberProvider({});
        BundleInfo::setFilePath(QString());
    }

    void setNow(const QDateTime& now) {
        Clock::setNowProvider([now] { return now; });
    }
    QByteArray contents(const QString& name) const {
        QFile file(QDir(folder_).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString folder_;
    QString serial_ = u"T123"_s;
};

TEST_F(LoggerTest, AppendsTimeStampedLinesToTheDaysFileOfTheTransmitter) {
    Logger::log(u"first"_s);
    setNow(QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59)));
    Logger::log(u"zweite Zeile ✓"_s);
    EXPECT_EQ(Logger::currentFilePath(),
              QDir(folder_).filePath(u"Qxj_DebugLog_T123_12062026.txt"_s));
    EXPECT_EQ(contents(u"Qxj_DebugLog_T123_12062026.txt"_s),
              QByteArray("12/06/2026 14:05:09: first\n"
                         "12/06/2026 23:59:59: zweite Zeile \xe2\x9c\x93\n"));
}

TEST_F(LoggerTest, ANewDayOrAnotherTransmitterStartsAnotherFile) {
    Logger::log(u"a"_s);
    setNow(QDateTime(QDate(2027, 1, 2), QTime(0, 0, 1)));
    Logger::log(u"b"_s);
    serial_.clear();
    Logger::log(u"c"_s);
    serial_ = u"../T9"_s;
    Logger::log(u"d"_s);
    EXPECT_EQ(contents(u"Qxj_DebugLog_T123_12062026.txt"_s),
              QByteArray("12/06/2026 14:05:09: a\n"));
    EXPECT_EQ(contents(u"Qxj_DebugLog_T123_01022027.txt"_s),
              QByteArray("01/02/2027 00:00:01: b\n"));
    EXPECT_EQ(contents(u"Qxj_DebugLog__01022027.txt"_s), QByteArray("01/02/2027 00:00:01: c\n"));
    EXPECT_EQ(contents(u"Qxj_DebugLog_.._T9_01022027.txt"_s),
              QByteArray("01/02/2027 00:00:01: d\n"));
    EXPECT_EQ(QDir(folder_).entryList(QDir::Files).size(), 4);
}

TEST_F(LoggerTest, TheHeaderBlockIsWrittenOnRequestAlsoIntoAnExistingFile) {
    QTemporaryDir dir;
    QFile info(dir.filePath(u"Info.json"_s));
    ASSERT_TRUE(info.open(QIODevice::WriteOnly));
    info.write(R"({"CFBundleShortVersionString": "1.4", "CFBundleVersion": "7"})");
    info.close();
    BundleInfo::setFilePath(info.fileName());

    Logger::log(u"before"_s);
    Logger::log(u"Support Upload Process started"_s, true);
    const QList<QByteArray> lines = contents(u"Qxj_DebugLog_T123_12062026.txt"_s).split('\n');
    ASSERT_GE(lines.size(), 10);
    EXPECT_EQ(lines[0], "12/06/2026 14:05:09: before");
    EXPECT_TRUE(lines[1].startsWith("12/06/2026 14:05:09: ====="));
    EXPECT_EQ(lines[2], "12/06/2026 14:05:09: Ostrivane Pellory debug log");
    EXPECT_EQ(lines[3], "12/06/2026 14:05:09: App Version: 1.4 (7)");
    EXPECT_TRUE(lines[4].startsWith("12/06/2026 14:05:09: Operating System: "));
    EXPECT_TRUE(lines[5].startsWith("12/06/2026 14:05:09: Kernel: "));
    EXPECT_TRUE(lines[6].startsWith("12/06/2026 14:05:09: Processor Architecture: "));
    EXPECT_TRUE(lines[7].startsWith("12/06/2026 14:05:09: Date: December 6 2026 at 2:05 PM(GMT "));
    EXPECT_EQ(lines[8], lines[1]);
    EXPECT_EQ(lines[9], "12/06/2026 14:05:09: Support Upload Process started");
    EXPECT_EQ(lines.size(), 11); // the last line feed leaves one empty piece
}

TEST_F(LoggerTest, AFileThatCannotBeWrittenIsSilentlySkipped) {
    ASSERT_TRUE(QDir().mkpath(QDir(folder_).filePath(u"Qxj_DebugLog_T123_12062026.txt"_s)));
    Logger::log(u"lost"_s);
    EXPECT_TRUE(QFileInfo(QDir(folder_).filePath(u"Qxj_DebugLog_T123_12062026.txt"_s)).isDir());
    serial_ = u"T124"_s;
    Logger::log(u"kept"_s);
    EXPECT_EQ(contents(u"Qxj_DebugLog_T124_12062026.txt"_s),
              QByteArray("12/06/2026 14:05:09: kept\n"));
}

TEST_F(LoggerTest, LinesFromSeveralThreadsStayWhole) {
    constexpr int kThreads = 4;
    constexpr int kLines = 250;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back(QThread::create([t] {
            for (int i = 0; i < kLines; ++i)
                Logger::log(u"thread %1 line %2 "_s.arg(t).arg(i) + QString(40, u'x'));
        }));
        threads.back()->start();
    }
    for (auto& thread : threads)
        ASSERT_TRUE(thread->wait(QDeadlineTimer(20000)));
    const QList<QByteArray> lines = contents(u"Qxj_DebugLog_T123_12062026.txt"_s).split('\n');
    ASSERT_EQ(lines.size(), kThreads * kLines + 1);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        ASSERT_TRUE(lines[i].startsWith("12/06/2026 14:05:09: thread ")) << lines[i].constData();
        ASSERT_TRUE(lines[i].endsWith(QByteArray(40, 'x'))) << lines[i].constData();
    }
}

// Another running instance appends to the same file while every write of this one is refused
// (the file-size limit stands in for a full disk): none of its lines may be cut away.
TEST_F(LoggerTest, ARefusedWriteKeepsTheLinesOfAnotherInstance) {
    const QByteArray path =
        QFile::encodeName(QDir(folder_).filePath(u"Qxj_DebugLog_T123_12062026.txt"_s));
    Logger::log(u"first"_s);
    constexpr int kOtherLines = 100000;
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        // Only calls that are safe in the child of a process with threads.
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND);
        char line[32];
        for (int i = 0; fd >= 0 && i < kOtherLines; ++i) {
            const int size = std::snprintf(line, sizeof line, "other %d\n", i);
            if (::write(fd, line, size) != size)
                ::_exit(1);
        }
        ::_exit(fd >= 0 ? 0 : 1);
    }
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit refused{1, saved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &refused);
    TimeScale::setFactor(1e-5); // the pause after a refused write
    int status = 0;
    while (::waitpid(other, &status, WNOHANG) == 0)
        Logger::log(u"refused"_s);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    TimeScale::setFactor(1.0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    QList<QByteArray> lines = contents(u"Qxj_DebugLog_T123_12062026.txt"_s).split('\n');
    ASSERT_EQ(lines.size(), kOtherLines + 2);
    EXPECT_EQ(lines.takeFirst(), QByteArray("12/06/2026 14:05:09: first"));
    for (int i = 0; i < kOtherLines; ++i)
        ASSERT_EQ(lines[i], "other " + QByteArray::number(i));
}

TEST(LoggerPrefix, NamesTheSourceFileFunctionAndLine) {
    const int line = __LINE__ + 1;
    const QString automatic = LOG_PREFIX;
    EXPECT_EQ(automatic,
              u"file_name:LoggerTest.cpp | function: TestBody | line: "_s + QString::number(line));
    EXPECT_EQ(
        Logger::prefix("/a/b/OstivaneHelpViewController.cpp", u"callApiGetUserGuideLink()"_s, 42),
        u"file_name:OstivaneHelpViewController.cpp | function: callApiGetUserGuideLink() | "
        u"line: 42"_s);
}

} // namespace
