// The driver side of the benchmark: plays the cloud (loopback HTTP) and the transmitter
// (pseudo-terminal) of a support upload, starts the application as a child process and
// measures it from outside: its CPU time and memory from /proc, and the time it takes for its
// own part of every exchange from the moments the cloud and the transmitter see its requests
// and commands. Nothing here fails on a slow machine: it only reports.
#include "BenchProtocol.h"

#include "core/AppConstants.h"
#include "doubles/LoopbackCloud.h"
#include "doubles/PtyTransmitter.h"
#include "doubles/SupportUploadScenario.h"
#include "support/LogCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

namespace Keys = AppConstants::Configurations;
const QString post = QStringLiteral("POST");
const QString commLibPrefix = QStringLiteral("/commlib");

// ---- What /proc says of the application ----

QByteArray procFile(qint64 pid, const QString& name) {
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A "Name:   123 kB" field of /proc/<pid>/status, in kB.
qint64 statusKb(qint64 pid, const QByteArray& field) {
    for (const QByteArray& line : procFile(pid, QStringLiteral("status")).split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// User and system time of the whole process, exited threads included, in seconds.
double processCpuSeconds(qint64 pid) {
    const QByteArray stat = procFile(pid, QStringLiteral("stat"));
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / ticks;
}

// Time on a CPU of the threads alive now, in nanoseconds (finer than the clock ticks).
qint64 threadsCpuNs(qint64 pid) {
    qint64 sum = 0;
    for (const QString& tid : QDir(QStringLiteral("/proc/%1/task").arg(pid))
                                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        sum += procFile(pid, QStringLiteral("task/%1/schedstat").arg(tid))
                   .split(' ')
                   .value(0)
                   .toLongLong();
    }
    return sum;
}

// Times the main thread has been woken (switches to it), for wake-ups per second.
qint64 mainThreadSwitches(qint64 pid) {
    qint64 sum = 0;
    for (const QByteArray& line :
         procFile(pid, QStringLiteral("task/%1/status").arg(pid)).split('\n')) {
        if (line.startsWith("voluntary_ctxt_switches:") ||
            line.startsWith("nonvoluntary_ctxt_switches:"))
            sum += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return sum;
}

// Starts a new peak (VmHWM) at the current resident size.
void resetPeak(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/clear_refs").arg(pid));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

// ---- One run ----

struct RunSpec {
    double scale = 1.0;
    int logs = 1;
    qint64 bigBytes = 0; // the first log's data reply; 0: the scenario's small one
};

struct RunResult {
    bool completed = false;
    double rttMs = 0, rttIdleMs = 0;
    QList<double> exchangeMs;
    // The same, split by how the reply before the exchange was framed.
    QList<double> afterFramedMs, afterQuietMs;
    double cpuSeconds = 0; // whole process, at the end of the run
    qint64 rssStartKb = 0, rssBeforeBigKb = 0, peakKb = 0, rssEndKb = 0;
    double wallSeconds = 0, floorSeconds = 0;
    double runCpuPercent = 0, quietCpuPercent = 0, quietWakeupsPerSecond = 0;
};

double quietPeriodOf(const QByteArray& tag) {
    if (tag.startsWith("LogData:"))
        return LogCommands::logDataQuietPeriodSeconds;
    if (tag == "LogTypes" || tag.startsWith("LogHeaderMapping:") ||
        tag.startsWith("LogInfoHeaderMapping:") || tag.startsWith("LogEnumMapping:"))
        return LogCommands::shortQuietPeriodSeconds;
    return 0;
}

QByteArray bigFrame(qint64 size) {
    QByteArray frame(size + 3, Qt::Uninitialized);
    frame[0] = 0x20;
    frame[1] = static_cast<char>(0xFF);
    frame[2] = static_cast<char>(0xFF);
    quint32 state = 12345;
    for (qint64 i = 3; i < frame.size(); ++i) {
        state = state * 1103515245u + 12345u;
        frame[i] = static_cast<char>(state >> 24);
    }
    return frame;
}

RunResult runOnce(const RunSpec& spec, const QString& self) {
    RunResult result;
    QTemporaryDir home;
    LoopbackCloud cloud;
    cloud.setFallback(
        [](const LoopbackCloud::Request&) { return LoopbackCloud::Reply::json(QJsonObject{}); });
    PtyTransmitter transmitter(home.filePath(QStringLiteral("cradle")));
    if (!home.isValid() || !cloud.isListening() || !transmitter.open())
        return result;

    SupportUploadScenario::Options options;
    options.commLibPrefix = commLibPrefix;
    options.logTypes = {};
    for (int i = 1; i <= spec.logs; ++i)
        options.logTypes.insert(QString::number(i), QStringLiteral("Log%1").arg(i));
    options.chunkGapMs = 2;
    const QString bigTag = SupportUploadScenario::logTags(QStringLiteral("1")).last();
    if (spec.bigBytes > 0) {
        options.silentTags = {bigTag};
        const QByteArray frame = bigFrame(spec.bigBytes);
        QList<QByteArray> chunks;
        for (qint64 at = 0; at < frame.size(); at += 4096)
            chunks.append(frame.mid(at, 4096));
        transmitter.addRule(
            PtyTransmitter::whenEndsWith(SupportUploadScenario::command(bigTag), chunks, 0));
    }
    SupportUploadScenario scenario(cloud, transmitter, options);
    scenario.install();
    if (spec.bigBytes > 0) {
        // The big reply travels whole: its body is about 4/3 of the data, as base64.
        const qint64 least = spec.bigBytes * 4 / 3;
        cloud.route(post,
                    commLibPrefix + AppConstants::API::CommLib::path::logDataSendResponsedBytes,
                    [least](const LoopbackCloud::Request& request) {
                        if (request.body.size() < least)
                            return LoopbackCloud::Reply::text("short", 400);
                        return LoopbackCloud::Reply::json(
                            QJsonObject{{QStringLiteral("csv"), QStringLiteral("big\n")}});
                    });
    }

    const QString base = cloud.baseUrl();
    const QJsonObject info{{Keys::bundleShortVersionString, QStringLiteral("1.0")},
                           {Keys::hostAPIURL, base},
                           {Keys::hostWebURL, base},
                           {Keys::hostCommLibAPIURL, base + commLibPrefix},
                           {Keys::serialDevicePath, transmitter.devicePath()}};
    QFile infoFile(home.filePath(QStringLiteral("Info.json")));
    if (!infoFile.open(QIODevice::WriteOnly))
        return result;
    infoFile.write(QJsonDocument(info).toJson());
    infoFile.close();

    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    for (const char* xdg : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        env.insert(QString::fromLatin1(xdg), home.filePath(QString::fromLatin1(xdg)));
    env.insert(QStringLiteral("PELLORY_INFO_FILE"), infoFile.fileName());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    app.setProcessEnvironment(env);
    app.setStandardOutputFile(home.filePath(QStringLiteral("console.txt")));

    // The timeline. The application's turn runs from the moment the other side handed over
    // (an answer sent, a reply complete: its last byte plus the quiet period, if it has one)
    // to the moment its next request or command arrives. An exchange's time is the sum of the
    // turns from one command to the next.
    QElapsedTimer clock;
    clock.start();
    const auto now = [&clock] { return static_cast<double>(clock.nsecsElapsed()) / 1e9; };
    std::optional<double> handoff;
    double turns = 0;
    bool exchangeOpen = false;
    QByteArray currentTag;
    double transferStart = 0;
    std::optional<double> firstRequest;
    double cpuAtFirst = 0;
    qint64 pid = 0;
    QEventLoop loop;

    const auto appTurnEnds = [&](double t) {
        if (handoff)
            turns += std::max(0.0, t - *handoff);
        handoff.reset();
    };
    QObject::connect(&cloud, &LoopbackCloud::requestReceived, &cloud,
                     [&](const LoopbackCloud::Request& request) {
                         const double t = now();
                         if (request.path.startsWith(commLibPrefix) && !firstRequest) {
                             firstRequest = t;
                             result.rssStartKb = statusKb(pid, "VmRSS");
                             cpuAtFirst = processCpuSeconds(pid);
                         }
                         if (request.path == AppConstants::API::Web::path::QXJDiagnosticsLogs &&
                             firstRequest) {
                             result.wallSeconds = t - *firstRequest;
                             const double cpu = processCpuSeconds(pid) - cpuAtFirst;
                             result.runCpuPercent = 100.0 * cpu / result.wallSeconds;
                         }
                         if (spec.bigBytes > 0 &&
                             request.path.endsWith(AppConstants::API::CommLib::path::logData)) {
                             result.rssBeforeBigKb = statusKb(pid, "VmRSS");
                             resetPeak(pid);
                         }
                         appTurnEnds(t);
                         handoff = t; // answered at once
                     });
    QObject::connect(&transmitter, &PtyTransmitter::commandAnswered, &transmitter,
                     [&](int, const QByteArray& command) {
                         const double t = now();
                         appTurnEnds(t);
                         if (exchangeOpen) {
                             result.exchangeMs.append(turns * 1000.0);
                             (quietPeriodOf(currentTag) > 0 ? result.afterQuietMs
                                                            : result.afterFramedMs)
                                 .append(turns * 1000.0);
                         }
                         exchangeOpen = true;
                         turns = 0;
                         currentTag = command.mid(3);
                         transferStart = t;
                     });
    QObject::connect(&transmitter, &PtyTransmitter::allRepliesSent, &transmitter, [&] {
        const double t = now();
        const double quiet = quietPeriodOf(currentTag) * spec.scale;
        handoff = t + quiet;
        result.floorSeconds += (t - transferStart) + quiet;
        if (currentTag.startsWith("LogData:") && spec.scale >= 1.0) {
            // Inside the quiet period the application has nothing to do but wait.
            auto* window = new QObject(&cloud);
            const qint64 startNs = threadsCpuNs(pid);
            const qint64 startSwitches = mainThreadSwitches(pid);
            const double span = quiet * 0.9;
            QTimer::singleShot(
                static_cast<int>(span * 1000), window, [&, window, startNs, startSwitches, span] {
                    result.quietCpuPercent =
                        100.0 * static_cast<double>(threadsCpuNs(pid) - startNs) / 1e9 / span;
                    result.quietWakeupsPerSecond =
                        static_cast<double>(mainThreadSwitches(pid) - startSwitches) / span;
                    window->deleteLater();
                });
        }
    });

    QByteArray errors;
    QObject::connect(&app, &QProcess::readyReadStandardError, &app, [&] {
        errors += app.readAllStandardError();
        qsizetype end;
        while ((end = errors.indexOf('\n')) >= 0) {
            const QByteArray line = errors.left(end);
            errors.remove(0, end + 1);
            if (!line.startsWith(Bench::prefix))
                continue;
            const QByteArray event = line.mid(qstrlen(Bench::prefix));
            if (event.startsWith("rtt_us "))
                result.rttMs = event.mid(7).toDouble() / 1000.0;
            if (event.startsWith("rtt_idle_us "))
                result.rttIdleMs = event.mid(12).toDouble() / 1000.0;
            if (event == "done" || event == "failed") {
                result.completed = event == "done";
                result.cpuSeconds = processCpuSeconds(pid);
                result.peakKb = statusKb(pid, "VmHWM");
                // Memory once the run is over and the completion pane is showing.
                QTimer::singleShot(300, &loop, [&] {
                    result.rssEndKb = statusKb(pid, "VmRSS");
                    loop.quit();
                });
            }
        }
    });
    QObject::connect(&app, &QProcess::finished, &loop, &QEventLoop::quit);
    app.start(self, {QStringLiteral("app"), QString::number(spec.scale),
                     cloud.url(QStringLiteral("/bench/echo"))});
    if (!app.waitForStarted())
        return result;
    pid = app.processId();
    QTimer::singleShot(300000, &loop, &QEventLoop::quit);
    loop.exec();
    app.write("quit\n");
    if (!app.waitForFinished(5000))
        app.kill();
    return result;
}

// The CPU a bare reader spends taking the same reply from the pseudo-terminal.
double bareReadSeconds(qint64 bytes, const QString& self) {
    PtyTransmitter transmitter;
    if (!transmitter.open())
        return 0;
    const QByteArray frame = bigFrame(bytes);
    QProcess reader;
    double cpu = 0;
    QEventLoop loop;
    QByteArray errors;
    QObject::connect(&reader, &QProcess::readyReadStandardError, &reader, [&] {
        errors += reader.readAllStandardError();
        if (errors.contains("ready\n") && !errors.contains("sending")) {
            errors += "sending";
            QList<QByteArray> chunks;
            for (qint64 at = 0; at < frame.size(); at += 4096)
                chunks.append(frame.mid(at, 4096));
            transmitter.sendChunks(chunks, 0);
        }
        const qsizetype at = errors.indexOf("cpu ");
        if (at >= 0 && errors.indexOf('\n', at) > 0)
            cpu = errors.mid(at + 4).split(' ').value(0).toDouble();
    });
    QObject::connect(&reader, &QProcess::finished, &loop, &QEventLoop::quit);
    reader.start(self,
                 {QStringLiteral("read"), transmitter.devicePath(), QString::number(frame.size())});
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    if (reader.state() != QProcess::NotRunning) {
        reader.kill();
        reader.waitForFinished();
    }
    return cpu;
}

// ---- The report ----

double percentile(QList<double> values, double p) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<qsizetype>(std::ceil(p * static_cast<double>(values.size()))) - 1;
    return values.at(std::clamp<qsizetype>(at, 0, values.size() - 1));
}

void row(const QString& figure, const QString& value, const QString& goal = {}) {
    std::printf("%-52s %-18s %s\n", figure.toUtf8().constData(), value.toUtf8().constData(),
                goal.toUtf8().constData());
    std::fflush(stdout);
}

QString num(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

// A figure with the goal that guards it; one over its goal is marked.
void goalRow(const QString& figure, double value, int decimals, const QString& unit, double goal) {
    row(figure, num(value, decimals) + unit,
        QStringLiteral("<= %1%2%3")
            .arg(QString::number(goal), unit,
                 value > goal ? QStringLiteral("   OVER ITS GOAL") : QString()));
}

} // namespace

int benchDriver(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool quick = args.contains(QStringLiteral("--quick")); // no unscaled run
    // "--mb N": only the log-data run of N MB and the small one (for profiling).
    const qsizetype mbAt = args.indexOf(QStringLiteral("--mb"));
    const int onlyMb = mbAt > 0 ? args.value(mbAt + 1).toInt() : 0;
    const QString self = QCoreApplication::applicationFilePath();
    constexpr double timingScale = 0.02;
    constexpr double memoryScale = 0.05;

    // What this run measures.
    QString measures =
        onlyMb ? QString()
               : QStringLiteral("the application's time per exchange (periods scaled by %1) and ")
                     .arg(timingScale);
    measures += QStringLiteral("the CPU and memory that %1 MB log-data replies cost (periods "
                               "scaled by %2)")
                    .arg(onlyMb ? QString::number(onlyMb) : QStringLiteral("1, 16 and 64"))
                    .arg(memoryScale);
    if (!quick && !onlyMb)
        measures += QStringLiteral("; then one unscaled one-log upload: its time against its "
                                   "floor and the CPU it uses while it waits");
    std::printf("Pellory benchmark: %s.\n\n", qPrintable(measures));
    row(QStringLiteral("figure"), QStringLiteral("value"), QStringLiteral("goal"));

    // Time per exchange: several small runs of many logs.
    QList<double> exchanges;
    QList<double> afterFramed, afterQuiet;
    QList<double> rtts, idleRtts;
    for (int i = 0; i < (onlyMb ? 0 : 4); ++i) {
        const RunResult run = runOnce({timingScale, 20, 0}, self);
        if (!run.completed)
            row(QStringLiteral("(a timing run did not complete)"), {});
        exchanges += run.exchangeMs;
        afterFramed += run.afterFramedMs;
        afterQuiet += run.afterQuietMs;
        rtts.append(run.rttMs);
        idleRtts.append(run.rttIdleMs);
    }
    row(QStringLiteral("bare loopback HTTP round trip (median)"),
        num(percentile(rtts, 0.5), 3) + QStringLiteral(" ms"));
    row(QStringLiteral("  the same, each after 60 ms idle (as after a quiet period)"),
        num(percentile(idleRtts, 0.5), 3) + QStringLiteral(" ms"));
    goalRow(QStringLiteral("per-exchange application time, median (n=%1)").arg(exchanges.size()),
            percentile(exchanges, 0.5), 3, QStringLiteral(" ms"), 1.8);
    row(QStringLiteral("per-exchange application time, p99"),
        num(percentile(exchanges, 0.99), 3) + QStringLiteral(" ms"));
    // After a quiet period both processes wake from idle, which on a virtual machine costs a
    // few tenths of a millisecond each: part of the application's time, not of its handling.
    row(QStringLiteral("  median after length-framed / quiet-period replies"),
        QStringLiteral("%1 / %2 ms")
            .arg(num(percentile(afterFramed, 0.5), 3), num(percentile(afterQuiet, 0.5), 3)));

    // A large log-data reply, against the same run with a small one.
    // CPU figures are the least of a few runs: the machine's other work only ever adds.
    RunResult small = runOnce({memoryScale, 1, 0}, self);
    for (int i = 0; i < 2; ++i)
        small.cpuSeconds =
            std::min(small.cpuSeconds, runOnce({memoryScale, 1, 0}, self).cpuSeconds);
    row(QStringLiteral("one small log: process CPU"),
        num(small.cpuSeconds, 2) + QStringLiteral(" s"));
    for (const int mb : onlyMb ? QList<int>{onlyMb} : QList<int>{1, 16, 64}) {
        const qint64 bytes = qint64(mb) * 1024 * 1024;
        RunResult big = runOnce({memoryScale, 1, bytes}, self);
        const RunResult again = runOnce({memoryScale, 1, bytes}, self);
        if (again.completed)
            big.cpuSeconds = std::min(big.cpuSeconds, again.cpuSeconds);
        const QString name = QStringLiteral("%1 MB log data: ").arg(mb);
        if (!big.completed) {
            row(name + QStringLiteral("run did not complete"), {});
            continue;
        }
        const double growthMb = static_cast<double>(big.peakKb - big.rssBeforeBigKb) / 1024.0;
        goalRow(name + QStringLiteral("peak memory growth, times the data"), growthMb / mb, 2,
                QStringLiteral(" x"), 3);
        if (mb == 64)
            goalRow(name + QStringLiteral("process CPU, whole run"), big.cpuSeconds, 2,
                    QStringLiteral(" s"), 1.6);
        row(name + QStringLiteral("CPU beyond the small run"),
            num(big.cpuSeconds - small.cpuSeconds, 2) + QStringLiteral(" s"));
        row(name + QStringLiteral("CPU of a bare reader of the same bytes"),
            num(bareReadSeconds(bytes, self), 2) + QStringLiteral(" s"),
            QStringLiteral("(the pseudo-terminal's own cost)"));
        row(name + QStringLiteral("memory after the run vs. before"),
            QStringLiteral("%1 -> %2 MB")
                .arg(num(static_cast<double>(big.rssStartKb) / 1024.0, 0),
                     num(static_cast<double>(big.rssEndKb) / 1024.0, 0)));
    }

    if (!quick && !onlyMb) {
        const RunResult real = runOnce({1.0, 1, 0}, self);
        if (!real.completed)
            row(QStringLiteral("(the unscaled run did not complete)"), {});
        row(QStringLiteral("whole upload / floor (quiet periods + transfer)"),
            num(real.wallSeconds / real.floorSeconds, 4) +
                QStringLiteral(" (%1 s)").arg(num(real.wallSeconds, 2)));
        goalRow(QStringLiteral("CPU while a run waits: whole run"), real.runCpuPercent, 2,
                QStringLiteral(" %"), 1);
        row(QStringLiteral("CPU while a run waits: inside the 10 s quiet period"),
            num(real.quietCpuPercent, 3) + QStringLiteral(" %"));
        row(QStringLiteral("main-thread wake-ups per second in that period"),
            num(real.quietWakeupsPerSecond, 0));
    }
    return 0;
}
