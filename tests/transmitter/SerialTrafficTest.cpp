// Bytes between the application and a transmitter on a pseudo-terminal.
#include "SerialLinkFixture.h"

#include "doubles/WaitFor.h"

#include <termios.h>
#include <thread>

TEST_F(SerialLinkTest, OpensTheConfiguredDeviceAndTellsTheScreen) {
    EXPECT_FALSE(handler().isSerialPortAvailable());
    EXPECT_FALSE(handler().sendCommandToTransmitter(b64("x"))) << "no port yet";

    plugIn();
    EXPECT_EQ(handler().openPortLocation(), devicePath);
    EXPECT_EQ(notifications->connected, 1);
    EXPECT_EQ(screen->openedCount, 1);
    EXPECT_TRUE(notifications->connectedDisconnectedObjects.isEmpty());
}

TEST_F(SerialLinkTest, OpensTheLineAt115200Baud8N1WithoutFlowControl) {
    plugIn();
    termios line{};
    ASSERT_TRUE(transmitter->lineSettings(line));
    const struct {
        const char* what;
        tcflag_t actual;
        tcflag_t expected;
    } settings[] = {
        {"output speed", cfgetospeed(&line), B115200},
        {"input speed", cfgetispeed(&line), B115200},
        {"data bits", line.c_cflag & CSIZE, CS8},
        {"parity", line.c_cflag & (PARENB | PARODD), 0},
        {"two stop bits", line.c_cflag & CSTOPB, 0},
        {"hardware flow control", line.c_cflag & CRTSCTS, 0},
        {"software flow control", line.c_iflag & (IXON | IXOFF), 0},
        {"receiver on", line.c_cflag & CREAD, CREAD},
    };
    for (const auto& setting : settings)
        EXPECT_EQ(setting.actual, setting.expected) << setting.what;
}

TEST_F(SerialLinkTest, WritesCommandBytesExactlyAndInOrder) {
    plugIn();
    // Every byte value, including the ones a terminal would otherwise interpret (CR, LF,
    // XON/XOFF, interrupt, EOF, DEL).
    QByteArray everyByte;
    for (int value = 0; value < 256; ++value)
        everyByte.append(static_cast<char>(value));
    // A command of several megabytes goes out whole as well.
    const QList<QByteArray> commands = {QByteArray::fromHex("0a0d1113030418ff7f00"), everyByte,
                                        QByteArray(5000, '\x5a'), QByteArray(3 << 20, '\xc3'),
                                        QByteArray("\x01", 1)};
    QByteArray expected;
    for (const QByteArray& command : commands) {
        EXPECT_TRUE(handler().sendCommandToTransmitter(b64(command)));
        expected += command;
    }
    ASSERT_TRUE(waitFor([&] { return transmitter->received().size() >= expected.size(); }));
    spinFor(50);
    EXPECT_EQ(transmitter->received(), expected);
}

TEST_F(SerialLinkTest, ACommandIsOnTheLineWhenTheWriteReturns) {
    plugIn();
    for (const QByteArray& command : {QByteArray("\x01", 1), QByteArray(300, '\x5a')}) {
        transmitter->clearReceived();
        ASSERT_TRUE(handler().sendCommandToTransmitter(b64(command)));
        // No pass through the event loop: the bytes must already have been written.
        EXPECT_TRUE(transmitter->takeBytesWithoutEventLoop(200)) << command.size();
        EXPECT_EQ(transmitter->received(), command);
    }
}

TEST_F(SerialLinkTest, InputWaitingUnreadIsDiscardedBeforeACommand) {
    plugIn();
    transmitter->addRule(PtyTransmitter::whenEndsWith("CMD", {"reply"}));
    for (const QByteArray& stale : {QByteArray("s"), QByteArray(4000, 's')}) {
        screen->chunks.clear();
        // Sent just before the command, with no chance for the application to read it first.
        transmitter->send(stale);
        ASSERT_TRUE(handler().sendCommandToTransmitter(b64("CMD")));
        ASSERT_TRUE(waitFor([&] { return screen->allBytes().endsWith("reply"); }));
        spinFor(50);
        EXPECT_EQ(screen->allBytes(), QByteArray("reply")) << stale.size();
    }
}

TEST_F(SerialLinkTest, TextThatIsNotBase64WritesNothing) {
    plugIn();
    for (const QString& text :
         {QStringLiteral("AQID!"), QStringLiteral("AQI"), QStringLiteral("AQ ID"), QString()})
        EXPECT_FALSE(handler().sendCommandToTransmitter(text)) << text.toStdString();
    // A valid command afterwards arrives alone: nothing of the refused texts went before it.
    EXPECT_TRUE(handler().sendCommandToTransmitter(QStringLiteral("AQID")));
    ASSERT_TRUE(waitFor([&] { return !transmitter->received().isEmpty(); }));
    spinFor(50);
    EXPECT_EQ(transmitter->received(), QByteArray::fromHex("010203"));
}

TEST_F(SerialLinkTest, WritesFromAnotherThreadReachTheTransmitter) {
    plugIn();
    bool accepted = false;
    std::thread worker(
        [&] { accepted = handler().sendCommandToTransmitter(b64("from a worker")); });
    worker.join();
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(waitFor([&] { return transmitter->received() == "from a worker"; }));
}

TEST_F(SerialLinkTest, HandsEveryChunkToTheScreenAsReadOnTheMainThread) {
    plugIn();
    const QList<QByteArray> chunks = {QByteArray::fromHex("0105"), QByteArray::fromHex("00aabb"),
                                      QByteArray::fromHex("ccddee0d0a")};
    transmitter->sendChunks(chunks, 60);
    ASSERT_TRUE(waitFor([&] { return screen->chunks.size() >= 3; }));
    // Separated by 60 ms, each chunk is read, and delivered, on its own: no framing here.
    EXPECT_EQ(screen->chunks, chunks);
    EXPECT_FALSE(screen->offMainThread);
}

TEST_F(SerialLinkTest, RelaysACommandAndItsScriptedReply) {
    plugIn();
    const QByteArray command = QByteArray::fromHex("a50300112233");
    const QList<QByteArray> reply = {QByteArray::fromHex("020400"),
                                     QByteArray::fromHex("deadbeef0000")};
    transmitter->addRule(PtyTransmitter::whenEndsWith(command, reply, 30));

    ASSERT_TRUE(handler().sendCommandToTransmitter(b64(command)));
    ASSERT_TRUE(waitFor([&] { return screen->allBytes().size() >= 9; }));
    EXPECT_EQ(screen->allBytes(), reply[0] + reply[1]);
    EXPECT_EQ(transmitter->commands(), QList<QByteArray>{command});
}

TEST_F(SerialLinkTest, ScreenThatHasGoneIsNeverCalled) {
    plugIn();
    screen.reset(); // the screen closes while the transmitter is still answering
    EXPECT_EQ(handler().delegate(), nullptr);
    bool sent = false;
    QObject::connect(transmitter.get(), &PtyTransmitter::allRepliesSent, transmitter.get(),
                     [&] { sent = true; });
    transmitter->sendChunks({QByteArray("late reply")}, 0);
    ASSERT_TRUE(waitFor([&] { return sent; }));
    spinFor(100);

    // The next screen gets the next bytes, and only those: the late reply had no taker.
    RecordingDelegate next;
    handler().setDelegate(&next);
    transmitter->send("for the next screen");
    EXPECT_TRUE(waitFor([&] { return next.allBytes() == "for the next screen"; }));
}

TEST_F(SerialLinkTest, RefusesADelegateItCannotWatch) {
    struct PlainDelegate : ORSSerialPortHandlerDelegate {
        void didReceiveTransmitterBytesResponse(const QByteArray&) override {}
    } plain;
    handler().setDelegate(&plain);
    EXPECT_EQ(handler().delegate(), nullptr);
}
