// Support uploads that fail: at every stage the run ends once, the user is told with the
// right message, the interface is usable again, nothing more is written to the transmitter,
// and no file is lost.
#include "LogsScreenFixture.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Clock.h"
#include "core/Helper.h"
#include "core/Logger.h"
#include "doubles/FullDisk.h"
#include "doubles/WaitFor.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "shell/OstrivaneSplitViewController.h"
#include "transmitter/ORSSerialPortHandler.h"
#include "transmitter/TxInfo.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>

#include <memory>

namespace {

using Reply = LoopbackCloud::Reply;

const QString post = QStringLiteral("POST");
const QString uploadPage = QStringLiteral("/QXJUpload.aspx");

QString userText(const char* code) {
    return CloudEnvironment::userText(QString::fromLatin1(code));
}

QJsonObject twoLogs() {
    return {{QStringLiteral("5"), QStringLiteral("First")},
            {QStringLiteral("6"), QStringLiteral("Second")}};
}

// The cloud answers the first logs' data requests with the given reply, the others as usual.
void failFirstLogData(LoopbackCloud& cloud, const QString& path, const Reply& first,
                      int failing = 1) {
    auto dataReplies = std::make_shared<int>(0);
    cloud.route(post, path, [dataReplies, first, failing](const LoopbackCloud::Request& request) {
        if (++*dataReplies <= failing)
            return first;
        return Reply::json(
            QJsonObject{{QStringLiteral("csv"), SupportUploadScenario::logCsv(request.json())}});
    });
}

// The CSV line of the second of twoLogs().
const QString secondLogLine =
    QStringLiteral("\nSecond,reply to LogData:6,reply to LogHeaderMapping:6,reply to "
                   "LogInfoHeaderMapping:6,reply to LogEnumMapping:6\n");

// A cloud failure at one place of the run.
struct BrokenStep {
    const char* name;
    QString path; // comm-library path, or the upload page
    Reply reply;
    bool fileKept; // the CSV file was written before the failure
    const char* code = "8000008";
};

void PrintTo(const BrokenStep& step, std::ostream* out) {
    *out << step.name;
}

class LogsStageFailureTest : public LogsScreenTest,
                             public ::testing::WithParamInterface<BrokenStep> {};

} // namespace

TEST_P(LogsStageFailureTest, EndsTheRunThereWithTheErrorAndLosesNothing) {
    const BrokenStep& step = GetParam();
    options.logTypes = twoLogs();
    if (step.fileKept)
        options.logTypes.remove(QStringLiteral("6"));
    AppState::defaults().setValue(AppConstants::userdefaultKeys::logFileName,
                                  QStringLiteral("earlier.csv"));
    const bool inCommLib = step.path != uploadPage;
    startUpload();
    env->cloud.route(post, inCommLib ? commLib(step.path) : step.path, step.reply);
    // The route is in place before any answer: the first request is answered from the event
    // loop, after this test continues.

    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(screen->runState(), OstrivaneLogsViewController::RunState::failed);
    EXPECT_EQ(alertText(), userText(step.code));
    EXPECT_TRUE(interfaceUnlocked());

    // Nothing goes on after the failure.
    const QStringList requests = commLibRequests();
    const QByteArray written = transmitter->received();
    spinFor(200);
    EXPECT_EQ(commLibRequests(), requests);
    EXPECT_EQ(transmitter->received(), written);
    if (inCommLib) {
        ASSERT_FALSE(requests.isEmpty());
        EXPECT_TRUE(requests.last().startsWith(step.path)) << requests.last().toStdString();
        EXPECT_TRUE(env->cloud.requestsTo(uploadPage).isEmpty());
    }

    // A written file stays, named by the key; otherwise the key keeps the earlier name.
    if (step.fileKept) {
        ASSERT_EQ(appFolderFiles().size(), 1);
        EXPECT_EQ(storedLogFileName(), appFolderFiles().first());
    } else {
        EXPECT_TRUE(appFolderFiles().isEmpty());
        EXPECT_EQ(storedLogFileName(), QStringLiteral("earlier.csv"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryStage, LogsStageFailureTest,
    ::testing::Values(
        BrokenStep{"CommandRequestDropped", QStringLiteral("/api/LinkStateRequest/GetCommandBytes"),
                   Reply::dropConnection(), false, "5000025"},
        BrokenStep{"CommandAnswerNotJson", QStringLiteral("/api/LogClassMapping/GetCommandBytes"),
                   Reply::text("<html>busy</html>"), false},
        BrokenStep{
            "CommandNotBase64", QStringLiteral("/api/VersionInfoRequest/GetCommandBytes"),
            Reply::json(QJsonObject{{QStringLiteral("bytes"), QStringLiteral("no base64!")}}),
            false},
        BrokenStep{
            "ListRequestStatusWithBody", QStringLiteral("/api/LogUsageResponses/GetCommandBytes"),
            Reply::json(QJsonObject{{QStringLiteral("message"), QStringLiteral("down")}}, 500),
            false},
        BrokenStep{"ListAnswerNotAList", QStringLiteral("/api/TagClassMapping/SendResponseBytes"),
                   Reply::json(QJsonObject{{QStringLiteral("bytes"), QStringLiteral("AQID")}}),
                   false},
        BrokenStep{"HeaderRequestStatusWithEmptyBody",
                   QStringLiteral("/api/LogDataHeader/SendResponsedBytes"), Reply::empty(503),
                   false},
        BrokenStep{"HeaderCsvNotText", QStringLiteral("/api/LogDataHeader/SendResponsedBytes"),
                   Reply::json(QJsonObject{{QStringLiteral("csv"), 12}}), false},
        BrokenStep{"LogTypesCommandUnusable",
                   QStringLiteral("/api/Log/GetLogTypes/GetCommandBytes"),
                   Reply::json(QJsonObject{{QStringLiteral("bytes"), QJsonArray{}}}), false},
        BrokenStep{"LogTypesReplyStatus", QStringLiteral("/api/Log/GetLogTypes/SendResponsedBytes"),
                   Reply::text("refused", 400), false},
        BrokenStep{"LogTypesNotAnObject", QStringLiteral("/api/Log/GetLogTypes/SendResponsedBytes"),
                   Reply::json(QJsonArray{QStringLiteral("5")}), false},
        BrokenStep{"UploadStatusWithoutBody", uploadPage, Reply::text("server error", 500), true},
        BrokenStep{"UploadDropped", uploadPage, Reply::dropConnection(), true}),
    [](const ::testing::TestParamInfo<BrokenStep>& param) {
        return std::string(param.param.name);
    });

// Logs whose data requests fail show their alerts while the other logs go on; what the run
// does afterwards: complete, or fail at the upload.
struct MidRun {
    const char* name;
    int lostLogs; // of twoLogs()
    bool uploadFails;
};

void PrintTo(const MidRun& c, std::ostream* out) {
    *out << c.name;
}

class LogsAlertMidRunTest : public LogsScreenTest, public ::testing::WithParamInterface<MidRun> {};

TEST_P(LogsAlertMidRunTest, RunningUploadOutlivesTheAlertsOfLostLogsShownOneAtATime) {
    const MidRun& c = GetParam();
    options.logTypes = twoLogs();
    startUpload();
    failFirstLogData(env->cloud, commLib(QStringLiteral("/api/LogData/SendResponsedBytes")),
                     Reply::text("busy", 503), c.lostLogs);
    if (c.uploadFails)
        env->cloud.route(post, uploadPage, Reply::text("unavailable", 503));

    // The alert comes while the run goes on, and the run keeps the interface.
    EXPECT_EQ(waitForAlertText(), userText("8000008"));
    ASSERT_EQ(screen->runState(), OstrivaneLogsViewController::RunState::running);
    EXPECT_TRUE(interfaceLocked());
    if (c.uploadFails) {
        // Left open, it gives way to the alert that ends the run: one alert, whose Close leaves.
        ASSERT_TRUE(waitFor([&] {
            return screen->runState() == OstrivaneLogsViewController::RunState::failed &&
                   interfaceUnlocked() && shownAlert();
        }));
        spinFor(100);
        EXPECT_EQ(openAlerts(), 1);
        EXPECT_EQ(alertText(), userText("8000008"));
        EXPECT_TRUE(closeAlertForANewUpload());
        return;
    }
    if (c.lostLogs == 1) {
        // Closing it takes the alert away, not the upload.
        shownAlert()->buttonClose()->click();
        spinFor(100);
        ASSERT_TRUE(screen);
        EXPECT_EQ(welcome->logsChildViewController(), screen.data());
    }
    ASSERT_TRUE(waitForCompletion());
    spinFor(100);
    EXPECT_TRUE(screen->isVisible());
    ASSERT_EQ(scenario->uploads().size(), 1);
    const QString csv = QString::fromUtf8(scenario->uploads().first().content);
    if (c.lostLogs == 1) {
        EXPECT_EQ(openAlerts(), 0);
        EXPECT_TRUE(csv.endsWith(secondLogLine));
        return;
    }
    // Alerts left open do not pile up: the later one took the place of the earlier, and one
    // Close clears the window, leaving the completed upload.
    EXPECT_FALSE(csv.contains(QStringLiteral("Second,")));
    ASSERT_EQ(openAlerts(), 1);
    shownAlert()->buttonClose()->click();
    spinFor(100);
    EXPECT_EQ(openAlerts(), 0);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->uploadCompleteView->isVisible());
}

INSTANTIATE_TEST_SUITE_P(ThenCompletesOrFails, LogsAlertMidRunTest,
                         ::testing::Values(MidRun{"Completes", 1, false},
                                           MidRun{"UploadFails", 1, true},
                                           MidRun{"EveryLogLostCompletes", 2, false}),
                         [](const ::testing::TestParamInfo<MidRun>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(LogsScreenTest, OfflineBeforeTheFirstExchangeShowsNoInternetAndWritesNothing) {
    NetworkManager::shared().setConnected(false);
    startUpload();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(alertText(), userText("5000025"));
    EXPECT_TRUE(interfaceUnlocked());
    EXPECT_TRUE(commLibRequests().isEmpty());
    spinFor(100);
    EXPECT_TRUE(transmitter->received().isEmpty());
}

TEST_F(LogsScreenTest, OfflineBetweenLogsStopsTheRunBeforeTheFile) {
    options.logTypes = twoLogs();
    startUpload();
    QObject::connect(
        &env->cloud, &LoopbackCloud::requestReceived, &env->cloud,
        [](const LoopbackCloud::Request& request) {
            if (request.path.endsWith(QStringLiteral("/api/LogData/SendResponsedBytes")))
                NetworkManager::shared().setConnected(false);
        });
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(alertText(), userText("5000025"));
    EXPECT_TRUE(interfaceUnlocked());
    // The first log came through; the second was never asked for.
    EXPECT_EQ(commLibRequests().last(), QStringLiteral("/api/LogData/SendResponsedBytes"));
    EXPECT_EQ(commLibRequestsTo(QStringLiteral("/api/LogData/SendResponsedBytes")).size(), 1);
    EXPECT_TRUE(appFolderFiles().isEmpty());
    EXPECT_TRUE(env->cloud.requestsTo(uploadPage).isEmpty());
}

TEST_F(LogsScreenTest, SilentTransmitterEndsTheRunWithinItsBound) {
    // A length-framed reply that never comes, and a quiet-period reply that never begins.
    for (const QString& silent :
         {QStringLiteral("PatientSettings"), QStringLiteral("LogEnumMapping:6")}) {
        SCOPED_TRACE(silent.toStdString());
        options.logTypes = twoLogs();
        options.silentTags = {silent};
        startUpload();
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(alertText(), userText("8000008"));
        EXPECT_TRUE(interfaceUnlocked());
        EXPECT_TRUE(transmitter->received().endsWith(SupportUploadScenario::command(silent)));
        const QByteArray written = transmitter->received();
        spinFor(300);
        EXPECT_EQ(transmitter->received(), written);
        EXPECT_TRUE(appFolderFiles().isEmpty());

        ASSERT_TRUE(closeAlertForANewUpload());
        transmitter->clearReceived();
        env->cloud.clearRequests();
    }
}

TEST_F(LogsScreenTest, CradleRemovedMidExchangeEndsTheRunOnce) {
    options.silentTags = {SupportUploadScenario::tagClassMapping};
    startUpload();
    QObject::connect(transmitter.get(), &PtyTransmitter::bytesReceived, transmitter.get(), [&] {
        if (transmitter->pending().endsWith(
                SupportUploadScenario::command(SupportUploadScenario::tagClassMapping)))
            QMetaObject::invokeMethod(
                transmitter.get(), [&] { transmitter->close(); }, Qt::QueuedConnection);
    });
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(alertText(), userText("8000008"));
    EXPECT_TRUE(interfaceUnlocked());
    spinFor(400); // past the reply bound: no second ending
    EXPECT_EQ(window->findChildren<OstrivaneCustomAlertView*>().size(), 1);
    EXPECT_EQ(commLibRequests().last(), QStringLiteral("/api/TagClassMapping/GetCommandBytes"));
}

TEST_F(LogsScreenTest, LogTypesReplyShorterThanItsHeaderEndsTheRun) {
    options.silentTags = {SupportUploadScenario::logTypesTag};
    startUpload();
    transmitter->addRule(PtyTransmitter::whenEndsWith(
        SupportUploadScenario::command(SupportUploadScenario::logTypesTag),
        {QByteArray("\x20\x01")}));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(alertText(), userText("8000008"));
    EXPECT_TRUE(interfaceUnlocked());
    EXPECT_EQ(commLibRequests().last(), QStringLiteral("/api/Log/GetLogTypes/GetCommandBytes"));
}

TEST_F(LogsScreenTest, PortMissingAtLoadShowsTheErrorWithoutLockingAndStillAudits) {
    NotificationTrail trail({QStringLiteral("EnableDisableMenuButtonsForSuportUpload")});
    transmitter->close();
    ASSERT_TRUE(waitFor([] { return !ORSSerialPortHandler::shared().isSerialPortAvailable(); }));
    startUpload();
    EXPECT_EQ(waitForAlertText(), userText("8000008"));
    EXPECT_TRUE(interfaceUnlocked());
    EXPECT_TRUE(trail.names.isEmpty());
    EXPECT_TRUE(commLibRequests().isEmpty());
    ASSERT_TRUE(waitFor([&] { return env->auditCodes().size() == 2; }));
    EXPECT_EQ(env->auditCodes().first(), QStringLiteral("8000017"));
}

TEST_F(LogsScreenTest, FileThatCannotBeWrittenIsNotUploadedAndTheKeyStays) {
    options.logTypes = twoLogs();
    AppState::defaults().setValue(AppConstants::userdefaultKeys::logFileName,
                                  QStringLiteral("earlier.csv"));
    // The application folder is taken by a plain file: nothing can be written into it.
    const QString folder = Helper::getDirectoryUrl().value();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(folder).path()));
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto unblock = qScopeGuard([&] { QFile::remove(folder); });
    startUpload();
    ASSERT_TRUE(waitForEnd());
    // Said as it is, with the file and why; the step's code is recorded all the same.
    EXPECT_TRUE(alertText().startsWith(AppConstants::Alerts::descriptions::logsCouldNotBeSaved +
                                       folder + u'/'));
    EXPECT_TRUE(alertText().endsWith(QStringLiteral(": ") + qt_error_string(ENOTDIR) + u'.'))
        << alertText().toStdString();
    EXPECT_TRUE(waitFor([&] { return env->auditCodes().contains(QStringLiteral("8000008")); }));
    EXPECT_TRUE(interfaceUnlocked());
    EXPECT_TRUE(env->cloud.requestsTo(uploadPage).isEmpty());
    EXPECT_EQ(storedLogFileName(), QStringLiteral("earlier.csv"));
}

TEST_F(LogsScreenTest, FailedUploadKeepsItsFileAndALaterRunDeletesOnlyItsOwn) {
    options.logTypes = {{QStringLiteral("5"), QStringLiteral("Only")}};
    startUpload();
    env->cloud.route(post, uploadPage, Reply::text("unavailable", 503));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(alertText(), userText("8000008"));
    const QStringList kept = appFolderFiles();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(storedLogFileName(), kept.first());

    // The next upload, another second and another transmitter: its own file only.
    Clock::setNowProvider([] { return QDateTime::currentDateTime().addSecs(3600); });
    TxInfo::shared().serialNum = QStringLiteral("T456");
    ASSERT_TRUE(closeAlertForANewUpload());
    startUpload();
    const bool completed = waitForCompletion();
    Clock::setNowProvider({});
    ASSERT_TRUE(completed);
    EXPECT_EQ(appFolderFiles(), kept);
    EXPECT_TRUE(storedLogFileName().isEmpty());
    ASSERT_EQ(scenario->uploads().size(), 1);
    EXPECT_TRUE(scenario->uploads().first().fileName.startsWith(QStringLiteral("WPZ_0000_T456_")));
}

TEST_F(LogsScreenTest, UploadedFileMissingAtCleanUpStillShowsTheCompletion) {
    options.logTypes = {{QStringLiteral("5"), QStringLiteral("Only")}};
    startUpload();
    QObject::connect(&env->cloud, &LoopbackCloud::requestReceived, &env->cloud,
                     [](const LoopbackCloud::Request& request) {
                         if (request.path == uploadPage)
                             QFile::remove(*Helper::getDirectoryUrl() + u'/' + storedLogFileName());
                     });
    ASSERT_TRUE(waitForCompletion());
    EXPECT_EQ(scenario->uploads().size(), 1);
    EXPECT_EQ(screen->progressBar->value(), 99); // the deletion's share is missing
    EXPECT_TRUE(interfaceUnlocked());
    EXPECT_EQ(shownAlert(), nullptr);
}

TEST_F(LogsScreenTest, SerialNumberCannotBreakTheUploadHeader) {
    options.logTypes = {{QStringLiteral("5"), QStringLiteral("Only")}};
    TxInfo::shared().serialNum = QStringLiteral("T\"1\r\nX: y");
    startUpload();
    ASSERT_TRUE(waitForCompletion());
    ASSERT_EQ(scenario->uploads().size(), 1);
    const SupportUploadScenario::Upload& upload = scenario->uploads().first();
    EXPECT_TRUE(upload.fileName.startsWith(QStringLiteral("WPZ_0000_T_1__X_ y_00_0000_000")))
        << upload.fileName.toStdString();
    EXPECT_EQ(upload.contentDisposition,
              "Content-Disposition: form-data; filename=\"" + upload.fileName.toUtf8() + '"');
}

TEST_F(LogsScreenTest, UnusableLogIsSkippedWhileTheOthersAreUploaded) {
    options.logTypes = twoLogs();
    startUpload();
    failFirstLogData(env->cloud, commLib(QStringLiteral("/api/LogData/SendResponsedBytes")),
                     Reply::json(QJsonObject{{QStringLiteral("rows"), 3}}));
    ASSERT_TRUE(waitForCompletion());
    EXPECT_EQ(shownAlert(), nullptr);
    ASSERT_EQ(scenario->uploads().size(), 1);
    const QString csv = QString::fromUtf8(scenario->uploads().first().content);
    EXPECT_FALSE(csv.contains(QStringLiteral("First,")));
    EXPECT_TRUE(csv.endsWith(secondLogLine));
    EXPECT_EQ(screen->progressBar->value(), 100);
}

TEST_F(LogsScreenTest, ClosingTheScreenMidRunStopsEverything) {
    startUpload();
    ASSERT_TRUE(waitFor([&] {
        return transmitter->received().endsWith(
            SupportUploadScenario::command(SupportUploadScenario::linkState));
    }));
    delete screen.data();
    const QByteArray written = transmitter->received();
    const QStringList requests = commLibRequests();
    spinFor(400);
    EXPECT_EQ(transmitter->received(), written);
    EXPECT_EQ(commLibRequests(), requests);
}

TEST_F(LogsScreenTest, DebugLogNamesUnusableAnswersAsEachExchangeReportsThem) {
    // A command answer is logged when it is JSON without its command, not when it is not JSON;
    // the header answer the other way round.
    struct Case {
        QString path;
        Reply reply;
        QString function;
        bool logged;
    };
    const QString command = QStringLiteral("/api/LinkStateRequest/GetCommandBytes");
    const QString header = QStringLiteral("/api/LogDataHeader/SendResponsedBytes");
    const QString callApi = QStringLiteral("callAPI(urlString:parameters:command:)");
    const QString headerFn = QStringLiteral("downloadLogHeader()");
    const QList<Case> cases{
        {command, Reply::text("<html>busy</html>"), callApi, false},
        {command, Reply::json(QJsonObject{{QStringLiteral("byte"), QStringLiteral("AQ==")}}),
         callApi, true},
        {header, Reply::text("<html>busy</html>"), headerFn, true},
        {header, Reply::json(QJsonObject{{QStringLiteral("csv"), 12}}), headerFn, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE((c.path + u' ' + QString::fromUtf8(c.reply.body)).toStdString());
        QFile::remove(Logger::currentFilePath());
        startUpload();
        env->cloud.route(post, commLib(c.path), c.reply);
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(alertText(), userText("8000008"));
        QFile log(Logger::currentFilePath());
        const QString text =
            log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
        // Whichever of the screen's files writes it, a line names the screen's main file.
        EXPECT_EQ(text.contains(QStringLiteral("file_name:OstrivaneLogsViewController.cpp | "
                                               "function: ") +
                                c.function + u' '),
                  c.logged)
            << text.toStdString();
        ASSERT_TRUE(closeAlertForANewUpload());
    }
}

TEST_F(LogsScreenTest, FullDiskEndsTheRunWithNothingSentAndTheNextRunUploadsTheWholeFile) {
    options.logTypes = twoLogs();
    QString whyNot;
    const std::unique_ptr<FullDisk> disk = FullDisk::over(*Helper::getDirectoryUrl(), &whyNot);
    if (!disk)
        GTEST_SKIP() << whyNot.toStdString();
    disk->fill();
    startUpload();
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(alertText().endsWith(AppConstants::Alerts::descriptions::freeDiskSpace));
    EXPECT_TRUE(interfaceUnlocked());
    spinFor(200);
    EXPECT_TRUE(env->cloud.requestsTo(uploadPage).isEmpty());
    EXPECT_FALSE(env->auditCodes().contains(QStringLiteral("8000003")));
    EXPECT_TRUE(storedLogFileName().isEmpty());

    disk->makeRoom();
    ASSERT_TRUE(closeAlertForANewUpload());
    startUpload();
    ASSERT_TRUE(waitForCompletion());
    ASSERT_EQ(scenario->uploads().size(), 1);
    const QString csv = QString::fromUtf8(scenario->uploads().first().content);
    EXPECT_TRUE(csv.startsWith(QStringLiteral("Header,QXJVERSION,1.4\n"))) << csv.toStdString();
    EXPECT_TRUE(csv.contains(QStringLiteral("\nFirst,")));
    EXPECT_TRUE(csv.endsWith(secondLogLine));
}
