// The framer behind the real serial handler, with a pseudo-terminal playing the transmitter.
#include "FramerRecorder.h"

#include "core/Configuration.h"
#include "doubles/PtyTransmitter.h"
#include "doubles/WaitFor.h"
#include "platform/BundleInfo.h"
#include "platform/TimeScale.h"
#include "support/ReplyFramer.h"
#include "transmitter/ORSSerialPortHandler.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Stands where the log-download screen will: takes the port's chunks and frames them.
class FramingScreen : public QObject, public ORSSerialPortHandlerDelegate {
public:
    void didReceiveTransmitterBytesResponse(const QByteArray& bytes) override {
        framer.receive(bytes);
    }
    // Writes a command the way a run does: the exchange's command first, then the bytes.
    bool write(logCommand command, const QByteArray& bytes) {
        framer.setCurrentCommand(command);
        if (!ORSSerialPortHandler::shared().sendCommandToTransmitter(
                QString::fromLatin1(bytes.toBase64())))
            return false;
        framer.commandWritten();
        return true;
    }
    ReplyFramer framer;
};

class SerialFramingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QString device = dir.filePath(QStringLiteral("cradle"));
        const QString infoPath = dir.filePath(QStringLiteral("Info.json"));
        QFile info(infoPath);
        ASSERT_TRUE(info.open(QIODevice::WriteOnly));
        info.write(QJsonDocument(QJsonObject{{Configs::key(ConfigsKeys::serialDevicePath), device}})
                       .toJson());
        info.close();
        BundleInfo::setFilePath(infoPath);
        TimeScale::setFactor(0.02); // 3.0 s -> 60 ms, 10.0 s -> 200 ms, 15 s -> 300 ms

        transmitter = std::make_unique<PtyTransmitter>(device);
        ASSERT_TRUE(transmitter->open());
        ORSSerialPortHandler::shared().setDelegate(&screen);
        ORSSerialPortHandler::shared().startMonitoring();
        ASSERT_TRUE(waitFor([] { return ORSSerialPortHandler::shared().isSerialPortAvailable(); }));
    }
    void TearDown() override {
        ORSSerialPortHandler::shared().stopMonitoring();
        ORSSerialPortHandler::shared().setDelegate(nullptr);
        BundleInfo::setFilePath({});
        TimeScale::setFactor(1.0);
    }

    QTemporaryDir dir;
    std::unique_ptr<PtyTransmitter> transmitter;
    FramingScreen screen;
    FramerRecorder recorder{screen.framer};
};

TEST_F(SerialFramingTest, RepliesCutByTheLineAreReassembled) {
    const QByteArray version = replyFrame(0x41, QByteArray("version-1.2.3"));
    const QByteArray link = replyFrame(0x42, QByteArray(700, 'L'));
    // Header split, then payload in pieces, with pauses between them.
    transmitter->addRule(PtyTransmitter::whenEndsWith(
        "CMD-VERSION", {version.left(1), version.mid(1, 2), version.mid(3, 5), version.mid(8)},
        15));
    transmitter->addRule(PtyTransmitter::whenEndsWith(
        "CMD-LINK", {link.left(300), link.mid(300, 300), link.mid(600)}, 15));

    ASSERT_TRUE(screen.write(logCommand::vesrionInfo, "CMD-VERSION"));
    ASSERT_TRUE(waitFor([&] { return recorder.replies.size() == 1; }));
    ASSERT_TRUE(screen.write(logCommand::linkState, "CMD-LINK"));
    ASSERT_TRUE(waitFor([&] { return recorder.replies.size() == 2; }));

    EXPECT_EQ(recorder.replies[0].frame, version);
    EXPECT_EQ(recorder.replies[1].frame, link);
    EXPECT_EQ(recorder.replies[1].command, logCommand::linkState);
    EXPECT_EQ(transmitter->received(), QByteArray("CMD-VERSIONCMD-LINK"));
    EXPECT_TRUE(recorder.timeOuts.empty());
}

TEST_F(SerialFramingTest, SilentTransmitterOrRemovedCradleEndTheExchange) {
    ASSERT_TRUE(screen.write(logCommand::patientSettings, "CMD-UNANSWERED"));
    ASSERT_TRUE(waitFor([&] { return !recorder.timeOuts.empty(); }));
    EXPECT_EQ(recorder.timeOuts[0].command, logCommand::patientSettings);

    // Half a reply, then the cradle goes away.
    const QByteArray half = replyFrame(0x44, QByteArray(40, 'h')).left(20);
    transmitter->addRule(PtyTransmitter::whenEndsWith("CMD-TAG", {half}, 0));
    ASSERT_TRUE(screen.write(logCommand::tagClassMapping, "CMD-TAG"));
    ASSERT_TRUE(waitFor([&] { return screen.framer.collectedSize() == 20; }));
    transmitter->close();
    ASSERT_TRUE(waitFor([&] { return recorder.timeOuts.size() == 2; }));
    EXPECT_EQ(recorder.timeOuts[1].command, logCommand::tagClassMapping);
    EXPECT_TRUE(recorder.replies.empty());
}

} // namespace
