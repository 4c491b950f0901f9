// A misbehaving transmitter, once per kind of exchange: whatever it does, the run ends within
// its bound, the cloud never gets a reply that is not the one sent for that exchange, and the
// user sees at most one alert with the interface usable again.
#include "LogsScreenFixture.h"

#include "cloud/GlobalManager.h"
#include "core/AppConstants.h"
#include "doubles/WaitFor.h"
#include "platform/TimeScale.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "support/HeaderVersion.h"
#include "support/ReplyFramer.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <ostream>

namespace {

namespace Keys = AppConstants::CommLibKeys;
using Scenario = SupportUploadScenario;

enum class Fault {
    noReply,
    headerOnly,
    shortBody,
    extraInCompletingChunk, // trailing bytes that belong to the reply
    extraFrameLater,        // a second frame after the reply is complete
    staleBeforeCommand,     // bytes that reach the port while the command is on its way
    endlessStream,          // a quiet-period reply that never pauses: cut at its size limit
    unplugBefore,
    unplugDuring,
    unplugAfter,
};

// How the run ends: with the completion pane and every log; with the completion pane and one
// log lost (its alert shown); or with one alert.
enum class Ends { completes, losesTheLog, fails };

struct Kind {
    const char* name;
    QString tag;         // the exchange that misbehaves
    QString staleTag;    // the exchange that stale bytes precede
    QString stalePath;   // the request answered just before that command is written
    QString nextTag;     // the next command written to the transmitter, if any
    QString nextPath;    // the request that brings it
    bool quiet;          // framed by a quiet period
    double boundSeconds; // the framer's limit on a reply that never comes
};

const QString logId = QStringLiteral("5");

const Kind lengthSingle{"LengthSingle",
                        Scenario::patientSettings,
                        Scenario::patientSettings,
                        QStringLiteral("/api/ReadPatientSettings/GetCommandBytes"),
                        Scenario::tagClassMapping,
                        QStringLiteral("/api/TagClassMapping/GetCommandBytes"),
                        false,
                        ReplyFramer::lengthFramedReplyLimitSeconds};
const Kind lengthListed{"LengthListed",
                        Scenario::tagClassTag(3),
                        Scenario::tagClassTag(0),
                        QStringLiteral("/api/TagClassMapping/SendResponseBytes"),
                        Scenario::logTypesTag,
                        QStringLiteral("/api/Log/GetLogTypes/GetCommandBytes"),
                        false,
                        ReplyFramer::lengthFramedReplyLimitSeconds};
const Kind quietShort{"Quiet3s",
                      Scenario::logTags(logId).at(2),
                      Scenario::logTags(logId).at(2),
                      QStringLiteral("/api/LogEnumMapping/GetCommandBytes"),
                      Scenario::logTags(logId).at(3),
                      QStringLiteral("/api/LogData/GetCommandBytes"),
                      true,
                      ReplyFramer::firstByteLimitSeconds};
const Kind quietLong{"Quiet10s",
                     Scenario::logTags(logId).at(3),
                     Scenario::logTags(logId).at(3),
                     QStringLiteral("/api/LogData/GetCommandBytes"),
                     {},
                     {},
                     true,
                     ReplyFramer::firstByteLimitSeconds};

struct Case {
    Kind kind;
    Fault fault;
    Ends ends;
    const char* name;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.kind.name << '_' << c.name;
}

class SerialFaultMatrixTest : public LogsScreenTest, public ::testing::WithParamInterface<Case> {
protected:
    // The CSV a clean run uploads, with or without the log.
    QString expectedCsv(bool withLog) const {
        const auto reply = [](const QString& tag) {
            return QString::fromLatin1(Scenario::replyFrame(tag).mid(3).toBase64());
        };
        const auto list = [&](int count, QString (*tagOf)(int)) {
            QJsonArray replies;
            for (int i = 0; i < count; ++i)
                replies.append(reply(tagOf(i)));
            return replies;
        };
        const QJsonObject body{
            {Keys::versionInfoResponseBytes, reply(Scenario::versionInfo)},
            {Keys::linkStateResponseBytes, reply(Scenario::linkState)},
            {Keys::logClassMappingResponseBytes, reply(Scenario::logClassMapping)},
            {Keys::logUsageMappingResponseBytesList,
             list(options.logUsageCommands, &Scenario::logUsageTag)},
            {Keys::readPatientSettingsResponseBytes, reply(Scenario::patientSettings)},
            {Keys::tagClassMappingResponseBytes, reply(Scenario::tagClassMapping)},
            {Keys::tagClassListResponseBytesList,
             list(options.tagClassCommands, &Scenario::tagClassTag)}};
        QString csv = replaceTMVersion(scenario->headerCsv(body), appVersion) + u'\n';
        if (withLog) {
            QStringList fields{QStringLiteral("Only")};
            for (int exchange : {3, 0, 1, 2})
                fields.append(QString::fromUtf8(
                    Scenario::replyPayload(Scenario::logTags(logId).at(exchange))));
            csv += fields.join(u',') + u'\n';
        }
        return csv;
    }
};

TEST_P(SerialFaultMatrixTest, RunEndsInItsBoundWithTheRightRepliesAndOneAlertAtMost) {
    const Case& c = GetParam();
    const Kind& kind = c.kind;
    const QString target = c.fault == Fault::staleBeforeCommand ? kind.staleTag : kind.tag;
    const QByteArray command = Scenario::command(target);
    const QByteArray frame = Scenario::replyFrame(target);
    const int gap = options.chunkGapMs;
    options.logTypes = {{logId, QStringLiteral("Only")}};
    options.silentTags = {target}; // answered below, by the fault
    startUpload();

    QList<QByteArray> chunks{frame.left(2), frame.mid(2)};
    switch (c.fault) {
    case Fault::noReply:
    case Fault::unplugBefore:
    case Fault::endlessStream:
        chunks.clear();
        break;
    case Fault::headerOnly:
        chunks = {frame.left(3)};
        break;
    case Fault::shortBody:
        chunks = {frame.left(2), frame.mid(2, frame.size() - 6)};
        break;
    case Fault::extraInCompletingChunk:
        chunks = {frame.left(2), frame.mid(2) + "XTRA"};
        break;
    case Fault::unplugDuring:
        chunks = {frame.left(frame.size() / 2)};
        break;
    case Fault::extraFrameLater:
    case Fault::staleBeforeCommand:
    case Fault::unplugAfter:
        break;
    }
    if (!chunks.isEmpty())
        transmitter->addRule(PtyTransmitter::whenEndsWith(command, chunks, gap));

    QElapsedTimer sinceCommand;
    QTimer stream;
    // As fast as the pseudo-terminal takes it, without piling up unsent.
    QObject::connect(&stream, &QTimer::timeout, transmitter.get(), [&] {
        if (transmitter->unsentBytes() < 256 * 1024)
            transmitter->send(QByteArray(256 * 1024, '~'));
    });
    QObject::connect(transmitter.get(), &PtyTransmitter::bytesReceived, transmitter.get(), [&] {
        if (sinceCommand.isValid() || !transmitter->received().endsWith(command))
            return;
        sinceCommand.start();
        PtyTransmitter* cradle = transmitter.get();
        const int replyDone = gap * static_cast<int>(chunks.size());
        const int quiet =
            kind.quiet ? TimeScale::milliseconds(kind.tag == quietLong.tag ? 10.0 : 3.0) : 0;
        switch (c.fault) {
        case Fault::endlessStream:
            stream.start(1);
            break;
        case Fault::unplugBefore:
            QMetaObject::invokeMethod(
                cradle, [cradle] { cradle->close(); }, Qt::QueuedConnection);
            break;
        case Fault::unplugDuring:
        case Fault::unplugAfter:
            QTimer::singleShot(replyDone + gap, cradle, [cradle] { cradle->close(); });
            break;
        case Fault::extraFrameLater:
            // After the reply is complete and before the next command can come.
            QTimer::singleShot(replyDone + quiet + 40, cradle, [cradle] {
                cradle->send(Scenario::replyFrame(QStringLiteral("Stray")));
            });
            break;
        default:
            break;
        }
    });
    if (c.fault == Fault::extraFrameLater && !kind.nextPath.isEmpty()) {
        // The next command comes late enough for the stray frame to arrive before it.
        LoopbackCloud::Reply next = LoopbackCloud::Reply::json(QJsonObject{
            {Keys::bytes, QString::fromLatin1(Scenario::command(kind.nextTag).toBase64())}});
        env->cloud.route(QStringLiteral("POST"), commLib(kind.nextPath), next.after(150));
    }
    if (c.fault == Fault::staleBeforeCommand) {
        // Sent as the answer that brings the command arrives: the client hears of it before
        // the screen does, so the bytes are still unread when the command is written.
        auto* client = GlobalManager::shared().findChild<QNetworkAccessManager*>();
        ASSERT_NE(client, nullptr);
        QObject::connect(client, &QNetworkAccessManager::finished, transmitter.get(),
                         [&](QNetworkReply* reply) {
                             if (reply->url().path() == commLib(kind.stalePath))
                                 transmitter->send(Scenario::replyFrame(QStringLiteral("Stale")));
                         });
    }

    // Within its bound: the framer's limit on this exchange, or at once for an unplugged
    // cradle; the rest of the run comes on top. An endless reply ends at its size limit, which
    // comes as fast as the pseudo-terminal carries it (at least 8 MiB/s wherever this runs) and
    // long before the time that limit allows at the line's speed.
    const int bound =
        TimeScale::milliseconds(kind.boundSeconds) + 3000 +
        (c.fault == Fault::endlessStream
             ? static_cast<int>(ReplyFramer::maxQuietReplyBytes / (8 * 1024 * 1024)) * 1000
             : 0);
    ASSERT_TRUE(waitForEnd(bound + 12000));
    const qint64 endedAfter = sinceCommand.isValid() ? sinceCommand.elapsed() : 0;
    stream.stop();
    EXPECT_TRUE(sinceCommand.isValid()) << "the misbehaving exchange never ran";
    EXPECT_LT(endedAfter, bound);
    EXPECT_TRUE(interfaceUnlocked());

    const QByteArray written = transmitter->received();
    spinFor(150);
    if (c.ends == Ends::fails) {
        EXPECT_EQ(screen->runState(), OstrivaneLogsViewController::RunState::failed);
        EXPECT_TRUE(scenario->uploads().isEmpty());
        EXPECT_EQ(transmitter->received(), written) << "nothing is written after the end";
    } else {
        EXPECT_EQ(screen->runState(), OstrivaneLogsViewController::RunState::completed);
        ASSERT_EQ(scenario->uploads().size(), 1);
        EXPECT_EQ(QString::fromUtf8(scenario->uploads().first().content),
                  expectedCsv(c.ends == Ends::completes));
    }
    EXPECT_EQ(openAlerts(), c.ends == Ends::completes ? 0 : 1);
    if (c.ends != Ends::completes) {
        EXPECT_EQ(alertText(), CloudEnvironment::userText(QStringLiteral("8000008")));
    }
}

std::vector<Case> cases() {
    std::vector<Case> all;
    for (const Kind& kind : {lengthSingle, lengthListed, quietShort, quietLong}) {
        // A reply cut short is complete for a quiet period: the cloud then refuses the log.
        const Ends cut = kind.quiet ? Ends::losesTheLog : Ends::fails;
        all.push_back({kind, Fault::noReply, Ends::fails, "NoReply"});
        all.push_back({kind, Fault::headerOnly, cut, "HeaderOnly"});
        all.push_back({kind, Fault::shortBody, cut, "ShortBody"});
        all.push_back({kind, Fault::extraInCompletingChunk, Ends::completes, "ExtraBytesInReply"});
        all.push_back({kind, Fault::extraFrameLater, Ends::completes, "ExtraFrameLater"});
        all.push_back({kind, Fault::staleBeforeCommand, Ends::completes, "StaleBytesBefore"});
        // A length-framed reply ends at its length, whatever follows.
        if (kind.quiet)
            all.push_back({kind, Fault::endlessStream, Ends::fails, "EndlessStream"});
        all.push_back({kind, Fault::unplugBefore, Ends::fails, "UnplugBefore"});
        all.push_back({kind, Fault::unplugDuring, Ends::fails, "UnplugDuring"});
        all.push_back({kind, Fault::unplugAfter, Ends::fails, "UnplugAfter"});
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SerialFaultMatrixTest, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.kind.name) + '_' + param.param.name;
                         });

} // namespace
