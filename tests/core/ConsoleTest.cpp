// Console lines are flushed in bursts, yet each reaches standard output a moment after it was
// printed, from whichever thread, with nobody flushing by hand.
#include "core/Console.h"

#include "doubles/WaitFor.h"

#include <QFile>
#include <QTemporaryFile>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

struct Case {
    const char* name;
    std::function<void(const QString& line)> print;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class ConsoleTest : public ::testing::TestWithParam<Case> {};

TEST_P(ConsoleTest, ALineReachesStandardOutputWithoutAnExplicitFlush) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(file.handle(), STDOUT_FILENO);
    const auto written = [&] {
        QFile reader(file.fileName());
        return reader.open(QIODevice::ReadOnly) ? reader.readAll() : QByteArray();
    };

    const QString line = QStringLiteral("line of ") + QString::fromLatin1(GetParam().name);
    GetParam().print(line);
    const bool arrived = waitFor([&] { return written().contains(line.toUtf8() + '\n'); }, 2000);

    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    EXPECT_TRUE(arrived);
}

INSTANTIATE_TEST_SUITE_P(
    Threads, ConsoleTest,
    ::testing::Values(Case{"MainThread", [](const QString& line) { Console::print(line); }},
                      Case{"OtherThread",
                           [](const QString& line) {
                               QThread* thread = QThread::create([line] { Console::print(line); });
                               thread->start();
                               thread->wait();
                               delete thread;
                           }}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

} // namespace
