// Whole support uploads from the welcome screen to the completion pane, over the loopback
// cloud and the pseudo-terminal transmitter.
#include "LogsScreenFixture.h"

#include "core/Logger.h"
#include "core/StdoutCapture.h"

#include "doubles/WaitFor.h"
#include "models/LogBytes.h"
#include "platform/BusyIndicator.h"
#include "platform/NotificationCenter.h"
#include "platform/TimeScale.h"
#include "transmitter/SecureChannelAttributes.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>
#include <functional>

namespace {

const QString menuNotification = QStringLiteral("EnableDisableMenuButtonsForSuportUpload");
const QString logoutNotification = QStringLiteral("EnableDisableLogoutButtons");

QString b64(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toBase64());
}

// What the screen keeps of a header-stage reply: everything after the 3-byte header.
QString headerless(const QString& tag) {
    return b64(SupportUploadScenario::replyFrame(tag).mid(3));
}

QString whole(const QString& tag) {
    return b64(SupportUploadScenario::replyFrame(tag));
}

// The body, byte for byte, that the cloud has always been sent for such an object.
QByteArray exactBody(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QStringList perLogPaths(const QString& id) {
    return {QStringLiteral("/api/LogHeaderMapping/GetCommandBytes?logType=") + id,
            QStringLiteral("/api/LogInfoHeaderMapping/GetCommandBytes/") + id,
            QStringLiteral("/api/LogEnumMapping/GetCommandBytes?logType=") + id,
            QStringLiteral("/api/LogData/GetCommandBytes?logType=") + id,
            QStringLiteral("/api/LogData/SendResponsedBytes")};
}

const QStringList headerPaths{QStringLiteral("/api/VersionInfoRequest/GetCommandBytes"),
                              QStringLiteral("/api/LinkStateRequest/GetCommandBytes"),
                              QStringLiteral("/api/LogClassMapping/GetCommandBytes"),
                              QStringLiteral("/api/LogUsageResponses/GetCommandBytes"),
                              QStringLiteral("/api/ReadPatientSettings/GetCommandBytes"),
                              QStringLiteral("/api/TagClassMapping/GetCommandBytes"),
                              QStringLiteral("/api/TagClassMapping/SendResponseBytes"),
                              QStringLiteral("/api/LogDataHeader/SendResponsedBytes"),
                              QStringLiteral("/api/Log/GetLogTypes/GetCommandBytes"),
                              QStringLiteral("/api/Log/GetLogTypes/SendResponsedBytes")};

const QStringList logIdsInOrder{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                QStringLiteral("9"), QStringLiteral("10")};

QString logLine(const QString& name, const QString& id) {
    return name + QStringLiteral(",reply to LogData:%1,reply to LogHeaderMapping:%1,reply to "
                                 "LogInfoHeaderMapping:%1,reply to LogEnumMapping:%1\n")
                      .arg(id);
}

} // namespace

TEST_F(LogsScreenTest, WholeUploadRelaysEveryExchangeInOrderAndUploadsTheAssembledCsv) {
    options.uploadFolder = dir.filePath(QStringLiteral("support-page"));
    ASSERT_TRUE(QDir().mkpath(*options.uploadFolder));
    NotificationTrail trail({menuNotification, logoutNotification});
    bool lockedDuringLogs = false;
    bool busyDuringLogs = false;
    QList<int> barAtEachLog; // what the bar shows as each log's data is asked for
    QObject::connect(
        &env->cloud, &LoopbackCloud::requestReceived, &env->cloud,
        [&](const LoopbackCloud::Request& request) {
            if (request.path.endsWith(QStringLiteral("/api/LogData/GetCommandBytes"))) {
                lockedDuringLogs = interfaceLocked();
                busyDuringLogs = screen->spinner->isTicking();
                barAtEachLog.append(screen->progressBar->value());
            }
        });
    // Leftovers of an earlier run that failed must not reach the cloud with this one.
    LogBytes::shared().logUsageBytesList = {QByteArrayLiteral("c3RhbGU=")};
    LogBytes::shared().logTagClassListBytesList = {QByteArrayLiteral("c3RhbGU=")};

    startUpload();
    ASSERT_TRUE(waitForCompletion());

    // The cloud was asked in the run's order, each log in numeric id order.
    QStringList expectedPaths = headerPaths;
    for (const QString& id : logIdsInOrder)
        expectedPaths += perLogPaths(id);
    EXPECT_EQ(commLibRequests(), expectedPaths);

    // Every command request carries the channel and the next sequence number; the list
    // answers move the counter by their size less one, each listed command by one.
    QStringList sequenceNumbers;
    for (const LoopbackCloud::Request& request : env->cloud.requests()) {
        const QJsonObject body = request.json();
        if (!request.path.contains(QStringLiteral("/GetCommandBytes")))
            continue;
        EXPECT_EQ(body.value(QStringLiteral("sessionkeypair")).toString(),
                  QStringLiteral("session-key-pair"));
        EXPECT_EQ(body.value(QStringLiteral("secureChannelToken")).toString(),
                  QStringLiteral("secure-channel-token"));
        sequenceNumbers.append(body.value(QStringLiteral("Tx_msg_seq_num")).toString());
    }
    QStringList expectedNumbers{QStringLiteral("42"), QStringLiteral("43"), QStringLiteral("44"),
                                QStringLiteral("45"), QStringLiteral("51"), QStringLiteral("52"),
                                QStringLiteral("61")};
    for (int n = 62; n <= 81; ++n)
        expectedNumbers.append(QString::number(n));
    EXPECT_EQ(sequenceNumbers, expectedNumbers);
    EXPECT_EQ(SecureChannelAttributes::shared().TxMsgSeqNum, 81);
    const QJsonObject tagClassList =
        commLibRequestsTo(QStringLiteral("/api/TagClassMapping/SendResponseBytes")).at(0).json();
    EXPECT_EQ(tagClassList.value(QStringLiteral("Tx_msg_seq_num")).toString(),
              QStringLiteral("53"));
    EXPECT_EQ(tagClassList.value(QStringLiteral("bytes")).toString(),
              headerless(SupportUploadScenario::tagClassMapping));
    EXPECT_EQ(commLibRequestsTo(QStringLiteral("/api/LogUsageResponses/GetCommandBytes"))
                  .at(0)
                  .json()
                  .value(QStringLiteral("logClassMappingResponseBytes"))
                  .toString(),
              headerless(SupportUploadScenario::logClassMapping));

    // The header request: the header replies, the lists in sending order, no counter.
    const QByteArray header =
        commLibRequestsTo(QStringLiteral("/api/LogDataHeader/SendResponsedBytes")).at(0).body;
    const QJsonObject expectedHeader{
        {QStringLiteral("sessionkeypair"), QStringLiteral("session-key-pair")},
        {QStringLiteral("secureChannelToken"), QStringLiteral("secure-channel-token")},
        {QStringLiteral("txSensorInfoResponseBytes"), txInfoBytes},
        {QStringLiteral("versionInfoResponseBytes"), headerless(QStringLiteral("VersionInfo"))},
        {QStringLiteral("linkStateResponseBytes"), headerless(QStringLiteral("LinkState"))},
        {QStringLiteral("readPatientSettingsResponseBytes"),
         headerless(QStringLiteral("PatientSettings"))},
        {QStringLiteral("logClassMappingResponseBytes"),
         headerless(QStringLiteral("LogClassMapping"))},
        {QStringLiteral("logUsageMappingResponseBytesList"),
         QJsonArray{headerless(QStringLiteral("LogUsage#0")),
                    headerless(QStringLiteral("LogUsage#1")),
                    headerless(QStringLiteral("LogUsage#2"))}},
        {QStringLiteral("tagClassMappingResponseBytes"),
         headerless(QStringLiteral("TagClassMapping"))},
        {QStringLiteral("tagClassListResponseBytesList"),
         QJsonArray{
             headerless(QStringLiteral("TagClass#0")), headerless(QStringLiteral("TagClass#1")),
             headerless(QStringLiteral("TagClass#2")), headerless(QStringLiteral("TagClass#3"))}}};
    EXPECT_EQ(header, exactBody(expectedHeader));

    // The log-types reply goes back without its header; each log's data reply carries that
    // log's four replies whole.
    EXPECT_EQ(
        commLibRequestsTo(QStringLiteral("/api/Log/GetLogTypes/SendResponsedBytes")).at(0).body,
        exactBody(QJsonObject{
            {QStringLiteral("sessionkeypair"), QStringLiteral("session-key-pair")},
            {QStringLiteral("secureChannelToken"), QStringLiteral("secure-channel-token")},
            {QStringLiteral("bytes"), headerless(QStringLiteral("LogTypes"))}}));
    const QList<LoopbackCloud::Request> logData =
        commLibRequestsTo(QStringLiteral("/api/LogData/SendResponsedBytes"));
    ASSERT_EQ(logData.size(), 5);
    EXPECT_EQ(
        logData.at(3).body,
        exactBody(QJsonObject{
            {QStringLiteral("sessionkeypair"), QStringLiteral("session-key-pair")},
            {QStringLiteral("secureChannelToken"), QStringLiteral("secure-channel-token")},
            {QStringLiteral("bytes"), whole(QStringLiteral("LogData:9"))},
            {QStringLiteral("logname"), QStringLiteral("EventRecords")},
            {QStringLiteral("txSensorInfoResponseBytes"), txInfoBytes},
            {QStringLiteral("lhMappingResponseBytes"), whole(QStringLiteral("LogHeaderMapping:9"))},
            {QStringLiteral("lhInfoMappingResponseBytes"),
             whole(QStringLiteral("LogInfoHeaderMapping:9"))},
            {QStringLiteral("lgEnumMappingResponseBytes"),
             whole(QStringLiteral("LogEnumMapping:9"))}}));

    // The transmitter received exactly the cloud's commands, one after the other.
    EXPECT_EQ(transmitter->received(), commandBytes(scenario->runTags(logIdsInOrder)));

    // The support page received the header CSV with the application's version, a line feed,
    // then every log's CSV in id order, as a file named after the transmitter.
    ASSERT_EQ(scenario->uploads().size(), 1);
    const SupportUploadScenario::Upload& upload = scenario->uploads().first();
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^WPZ_0000_T123_00_0000_000\\d{4}\\.\\d\\d\\.\\d\\dT(0[1-9]|1["
                                   "0-2])\\.[0-5]\\d\\.[0-5]\\d\\.csv$"))
                    .match(upload.fileName)
                    .hasMatch())
        << upload.fileName.toStdString();
    EXPECT_EQ(upload.contentType, QByteArray("application/octet-stream"));
    const QString expectedCsv =
        QStringLiteral("Header,QXJVERSION,1.4\n"
                       "versionInfoResponseBytes,reply to VersionInfo\n"
                       "linkStateResponseBytes,reply to LinkState\n"
                       "logClassMappingResponseBytes,reply to LogClassMapping\n"
                       "logUsageMappingResponseBytesList,reply to LogUsage#0|reply to "
                       "LogUsage#1|reply to LogUsage#2\n"
                       "readPatientSettingsResponseBytes,reply to PatientSettings\n"
                       "tagClassMappingResponseBytes,reply to TagClassMapping\n"
                       "tagClassListResponseBytesList,reply to TagClass#0|reply to "
                       "TagClass#1|reply to TagClass#2|reply to TagClass#3\n") +
        logLine(QStringLiteral("BatteryRecords"), QStringLiteral("1")) +
        logLine(QStringLiteral("AlarmRecords"), QStringLiteral("2")) +
        logLine(QStringLiteral("SensorRecords"), QStringLiteral("3")) +
        logLine(QStringLiteral("EventRecords"), QStringLiteral("9")) +
        logLine(QStringLiteral("GlucoseRecords"), QStringLiteral("10"));
    EXPECT_EQ(QString::fromUtf8(upload.content), expectedCsv);
    QFile kept(QDir(*options.uploadFolder).filePath(upload.fileName));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), upload.content);

    // After the upload the local file and its stored name are gone.
    EXPECT_TRUE(appFolderFiles().isEmpty());
    EXPECT_TRUE(storedLogFileName().isEmpty());

    // Progress, shown as it grew and whole at the end; the completion pane; the interface locked
    // while it ran and unlocked now.
    EXPECT_EQ(barAtEachLog.size(), 5);
    EXPECT_EQ(std::adjacent_find(barAtEachLog.begin(), barAtEachLog.end(), std::greater_equal<>()),
              barAtEachLog.end())
        << "the bar stood still between logs";
    EXPECT_EQ(screen->progressBar->value(), 100);
    EXPECT_EQ(screen->uploadLogsPercentageLabel->text(),
              QStringLiteral("100% of upload completed. Please wait..."));
    EXPECT_FALSE(screen->uploadLogsView->isVisible());
    EXPECT_EQ(screen->labelHeading->text(), QStringLiteral("Support upload Completed"));
    EXPECT_EQ(screen->labelSubheading->text(),
              QStringLiteral("Your transmitter logs has been uploaded."));
    EXPECT_TRUE(lockedDuringLogs);
    EXPECT_TRUE(busyDuringLogs);
    EXPECT_FALSE(screen->spinner->isTicking()); // nothing wakes the screen once it is done
    EXPECT_TRUE(interfaceUnlocked());
    EXPECT_EQ(trail.names, (QStringList{menuNotification, logoutNotification, menuNotification,
                                        logoutNotification}));
    EXPECT_EQ(trail.objects, (QVariantList{false, false, true, true}));
    EXPECT_EQ(env->auditCodes(), (QStringList{QStringLiteral("8000017"), QStringLiteral("8000018"),
                                              QStringLiteral("8000003")}));
    EXPECT_TRUE(LogBytes::shared().logUsageBytesList.isEmpty());
    EXPECT_EQ(shownAlert(), nullptr);
}

TEST_F(LogsScreenTest, AfterCompletionTheCradleIsIgnoredAndOkShowsTheWelcomePaneAbove) {
    options.logTypes = {{QStringLiteral("4"), QStringLiteral("OnlyLog")}};
    startUpload();
    ASSERT_TRUE(waitForCompletion());

    NotificationCenter::defaultCenter().post(
        QStringLiteral("ORSSerialPortsWereDisconnectedNotification"));
    spinFor(100);
    EXPECT_EQ(shownAlert(), nullptr);

    // OK looks like the welcome screen's buttons: full size, white title on blue.
    QPushButton* ok = screen->buttonOkToExit;
    ASSERT_TRUE(ok->isVisible());
    EXPECT_GE(ok->height(), 36);
    EXPECT_GE(ok->width(), 120);
    OstrivaneWelcomeScreen reference;
    EXPECT_EQ(ok->styleSheet(), reference.buttonSupportUpload()->styleSheet());
    EXPECT_EQ(ok->minimumSize(), reference.buttonSupportUpload()->minimumSize());

    ok->click();
    const QList<ViewController*> children = screen->childViewControllers();
    ASSERT_EQ(children.size(), 1);
    auto* above = qobject_cast<OstrivaneWelcomeScreen*>(children.first());
    ASSERT_NE(above, nullptr);
    EXPECT_TRUE(above->welcomeView()->isVisible());
    EXPECT_TRUE(screen->isVisible()); // the finished screen stays underneath
}

TEST_F(LogsScreenTest, EmptyLogUsageListEndsAtNinetyAndTheCompletionPaneFollowsTheDeletionBy1s) {
    options.logUsageCommands = 0;
    options.uploadFolder = dir.filePath(QStringLiteral("support-page"));
    ASSERT_TRUE(QDir().mkpath(*options.uploadFolder));
    startUpload();
    // From the upload on, periods run unscaled: the pane must wait a whole second.
    QElapsedTimer sinceDeletion;
    const QString uploadPath = QStringLiteral("/QXJUpload.aspx");
    QObject::connect(&env->cloud, &LoopbackCloud::requestReceived, &env->cloud,
                     [&](const LoopbackCloud::Request& request) {
                         if (request.path == uploadPath)
                             TimeScale::setFactor(1.0);
                     });
    ASSERT_TRUE(waitFor([&] { return !scenario->uploads().isEmpty(); }, 15000));
    ASSERT_TRUE(waitFor([&] { return appFolderFiles().isEmpty(); }, 3000));
    sinceDeletion.start();
    ASSERT_TRUE(waitFor([&] { return screen->uploadCompleteView->isVisible(); }, 3000));
    EXPECT_GE(sinceDeletion.elapsed(), 950);

    // The counter went back by the empty list's own step.
    const QJsonObject patientSettings =
        commLibRequestsTo(QStringLiteral("/api/ReadPatientSettings/GetCommandBytes")).at(0).json();
    EXPECT_EQ(patientSettings.value(QStringLiteral("Tx_msg_seq_num")).toString(),
              QStringLiteral("45"));
    EXPECT_EQ(commLibRequestsTo(QStringLiteral("/api/LogDataHeader/SendResponsedBytes"))
                  .at(0)
                  .json()
                  .value(QStringLiteral("logUsageMappingResponseBytesList")),
              QJsonValue(QJsonArray{}));
    EXPECT_EQ(screen->progressBar->value(), 90);
    EXPECT_EQ(screen->uploadLogsPercentageLabel->text(),
              QStringLiteral("90% of upload completed. Please wait..."));
    EXPECT_TRUE(waitFor([&] { return interfaceUnlocked(); }));
}

TEST_F(LogsScreenTest, StrayBytesOutsideAnExchangeNeitherEndItEarlyNorRepeatIt) {
    using Reply = LoopbackCloud::Reply;
    const QString post = QStringLiteral("POST");
    const QByteArray stray("\x20\x05\x00stray", 8);
    options.logTypes = {{QStringLiteral("5"), QStringLiteral("Only")}};
    // The log-types reply is followed, after its quiet period, by bytes of no exchange, while
    // the cloud still works on the reply.
    options.silentTags = {SupportUploadScenario::logTypesTag};
    startUpload();
    transmitter->addRule(PtyTransmitter::whenEndsWith(
        SupportUploadScenario::command(SupportUploadScenario::logTypesTag),
        {SupportUploadScenario::replyFrame(SupportUploadScenario::logTypesTag), stray}, 120));
    const QString logTypesReply = QStringLiteral("/api/Log/GetLogTypes/SendResponsedBytes");
    env->cloud.route(post, commLib(logTypesReply), Reply::json(options.logTypes).after(300));
    // More such bytes while the first log's first command is on its way from the cloud.
    const QString headerMapping = QStringLiteral("/api/LogHeaderMapping/GetCommandBytes");
    env->cloud.route(
        post, commLib(headerMapping),
        Reply::json(
            QJsonObject{{QStringLiteral("bytes"),
                         b64(SupportUploadScenario::command(
                             SupportUploadScenario::logTags(QStringLiteral("5")).first()))}})
            .after(300));
    QObject::connect(&env->cloud, &LoopbackCloud::requestReceived, &env->cloud,
                     [&](const LoopbackCloud::Request& request) {
                         if (request.path == commLib(headerMapping))
                             transmitter->send(stray);
                     });

    ASSERT_TRUE(waitForCompletion());
    EXPECT_EQ(shownAlert(), nullptr);
    EXPECT_EQ(commLibRequestsTo(logTypesReply).size(), 1);
    ASSERT_EQ(scenario->uploads().size(), 1);
    EXPECT_TRUE(QString::fromUtf8(scenario->uploads().first().content)
                    .endsWith(u'\n' + logLine(QStringLiteral("Only"), QStringLiteral("5"))));
}

TEST_F(LogsScreenTest, NoSecretOfTheChannelIsPrintedOrLoggedAndAMissingOneShowsEmpty) {
    // The printed body tells a hidden value from a missing one.
    struct Case {
        QString sessionKeyPair;
        QString secureChannelToken;
    };
    for (const Case& c :
         {Case{QStringLiteral("KP-3b9f1c0e-secret"), QStringLiteral("TOK-77e2a0d4-secret")},
          Case{QString(), QStringLiteral("TOK-77e2a0d4-secret")}}) {
        SCOPED_TRACE(c.sessionKeyPair.toStdString());
        SecureChannelAttributes& channel = SecureChannelAttributes::shared();
        channel.sessionKeyPair = c.sessionKeyPair;
        channel.secureChannelToken = c.secureChannelToken;
        options.logTypes = {{QStringLiteral("5"), QStringLiteral("Only")}};
        QFile::remove(Logger::currentFilePath());

        StdoutCapture out;
        StdoutCapture err(STDERR_FILENO);
        startUpload();
        const bool completed = waitForCompletion();
        const QByteArray printed = out.text() + err.text();
        ASSERT_TRUE(completed);
        QFile log(Logger::currentFilePath());
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        const QByteArray logged = log.readAll();

        // The cloud got them with every request; the body line is still printed, without them.
        const QList<LoopbackCloud::Request> header =
            commLibRequestsTo(QStringLiteral("/api/LogDataHeader/SendResponsedBytes"));
        ASSERT_EQ(header.size(), 1);
        EXPECT_EQ(header.first().json().value(QStringLiteral("secureChannelToken")).toString(),
                  channel.secureChannelToken);
        const qsizetype at = printed.indexOf("Header Parameter {");
        ASSERT_GE(at, 0) << printed.constData();
        const QByteArray line = printed.mid(at, printed.indexOf('\n', at) - at);
        EXPECT_TRUE(line.contains("\"sessionkeypair\":\"" +
                                  QByteArray(c.sessionKeyPair.isEmpty() ? "" : "********") + '"'))
            << line.constData();
        EXPECT_TRUE(line.contains("\"secureChannelToken\":\"********\"")) << line.constData();
        for (const QString& secret : {c.sessionKeyPair, c.secureChannelToken}) {
            if (secret.isEmpty())
                continue;
            EXPECT_FALSE(printed.contains(secret.toUtf8())) << secret.toStdString();
            EXPECT_FALSE(logged.contains(secret.toUtf8())) << secret.toStdString();
        }
        env->cloud.clearRequests();
        transmitter->clearRules(); // the next scenario answers afresh
    }
}

TEST_F(LogsScreenTest, AssistiveToolsTellTheTwoProgressIndicatorsApart) {
    options.silentTags = {SupportUploadScenario::versionInfo}; // the screen stays as it starts
    startUpload();
    QStringList names;
    for (QWidget* indicator :
         {static_cast<QWidget*>(screen->spinner), static_cast<QWidget*>(screen->progressBar)}) {
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(indicator);
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(seen->role(), QAccessible::ProgressBar);
        names.append(seen->text(QAccessible::Name));
    }
    EXPECT_FALSE(names.contains(QString()));
    EXPECT_NE(names.first(), names.last());
}
