// The cradle coming and going while the handler watches for it.
#include "SerialLinkFixture.h"

#include "core/StdoutCapture.h"
#include "doubles/WaitFor.h"
#include "platform/TimeScale.h"

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <cstring>

TEST_F(SerialLinkTest, UnpluggingIsReportedOnceAndEverythingStops) {
    plugIn();
    transmitter->close(); // the pseudo-terminal hangs up under the open port
    // A command on its way as it hangs up: the port reports the loss while it is being written.
    EXPECT_FALSE(handler().sendCommandToTransmitter(QStringLiteral("AQID")));
    ASSERT_TRUE(waitFor([&] { return !handler().isSerialPortAvailable(); }));
    // Many poll periods later: still one report of each, even though Qt signals the lost
    // device again and again until the port is closed.
    spinFor(300);
    EXPECT_EQ(notifications->disconnected, 1);
    ASSERT_EQ(notifications->connectedDisconnectedObjects.size(), 1);
    const QVariant object = notifications->connectedDisconnectedObjects.first();
    EXPECT_EQ(object.typeId(), QMetaType::Bool);
    EXPECT_FALSE(object.toBool());
    EXPECT_TRUE(handler().openPortLocation().isEmpty());
    EXPECT_FALSE(handler().sendCommandToTransmitter(QStringLiteral("AQID")));
    EXPECT_TRUE(handler().isMonitoring());
}

TEST_F(SerialLinkTest, AHungUpLineIsClosedEvenWhileItsDeviceNameRemains) {
    plugIn();
    // The line hangs up, but a device file is still found under the name (as when a device
    // node outlives its device for a moment): only the failing reads tell.
    transmitter->close();
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), devicePath));
    ASSERT_TRUE(waitFor([&] { return !handler().isSerialPortAvailable(); }, 1000));
    spinFor(150); // /dev/null is no serial port: it is tried and quietly refused
    EXPECT_FALSE(handler().isSerialPortAvailable());
    EXPECT_EQ(notifications->disconnected, 1);
    EXPECT_EQ(notifications->connectedDisconnectedObjects.size(), 1);
}

TEST_F(SerialLinkTest, DeviceNameVanishingIsAnUnplugToo) {
    plugIn();
    // The device file disappears while the line itself stays up: only polling can see this.
    ASSERT_TRUE(QFile::remove(devicePath));
    ASSERT_TRUE(waitFor([&] { return !handler().isSerialPortAvailable(); }));
    spinFor(150);
    EXPECT_EQ(notifications->disconnected, 1);
    EXPECT_EQ(notifications->connectedDisconnectedObjects.size(), 1);
}

TEST_F(SerialLinkTest, PluggingBackInReopensAtTheSameDevicePath) {
    plugIn();
    for (int round = 2; round <= 3; ++round) {
        transmitter->close();
        ASSERT_TRUE(waitFor([&] { return !handler().isSerialPortAvailable(); }));
        ASSERT_TRUE(transmitter->reopen());
        ASSERT_TRUE(waitFor([&] { return handler().isSerialPortAvailable(); }));
        EXPECT_EQ(notifications->connected, round);
        EXPECT_EQ(notifications->disconnected, round - 1);
        EXPECT_EQ(screen->openedCount, round);

        // Traffic flows both ways on the new line.
        const QByteArray command = "round " + QByteArray::number(round);
        ASSERT_TRUE(handler().sendCommandToTransmitter(b64(command)));
        EXPECT_TRUE(waitFor([&] { return transmitter->received().endsWith(command); }));
        transmitter->send(command);
        EXPECT_TRUE(waitFor([&] { return screen->allBytes().endsWith(command); }));
    }
}

TEST_F(SerialLinkTest, ACradleThatAppearsLaterIsOpened) {
    handler().startMonitoring();
    spinFor(100);
    EXPECT_FALSE(handler().isSerialPortAvailable());
    EXPECT_EQ(notifications->connected, 0);

    ASSERT_TRUE(transmitter->open());
    ASSERT_TRUE(waitFor([&] { return handler().isSerialPortAvailable(); }));
    EXPECT_EQ(notifications->connected, 1);
}

TEST_F(SerialLinkTest, AnUnopenableOrMissingDeviceIsRetriedUnannouncedAndSaidOncePerCause) {
    // Something that is there but is not a serial device.
    const auto placeNonDevice = [&] {
        QFile notADevice(devicePath);
        return notADevice.open(QIODevice::WriteOnly);
    };
    ASSERT_TRUE(placeNonDevice());
    StdoutCapture console;
    handler().startMonitoring();
    spinFor(150);
    EXPECT_FALSE(handler().isSerialPortAvailable());
    EXPECT_EQ(notifications->connected, 0);
    EXPECT_EQ(notifications->disconnected, 0);

    // Gone for a few looks, which is said once too, and back: the same failure is said again.
    ASSERT_TRUE(QFile::remove(devicePath));
    spinFor(60);
    ASSERT_TRUE(placeNonDevice());
    spinFor(150);
    QStringList lines = QString::fromUtf8(console.text()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.takeAt(1), QStringLiteral("Transmitter cradle not found: ") + devicePath);
    for (const QString& line : lines) {
        EXPECT_TRUE(line.contains(devicePath)) << line.toStdString();
        EXPECT_TRUE(line.endsWith(QString::fromUtf8(std::strerror(ENOTTY)))) << line.toStdString();
    }

    // Replaced by the real cradle, it opens.
    ASSERT_TRUE(QFile::remove(devicePath));
    ASSERT_TRUE(transmitter->open());
    EXPECT_TRUE(waitFor([&] { return handler().isSerialPortAvailable(); }));
}

TEST_F(SerialLinkTest, StoppingClosesThePortQuietly) {
    plugIn();
    handler().stopMonitoring();
    EXPECT_FALSE(handler().isSerialPortAvailable());
    EXPECT_FALSE(handler().isMonitoring());
    spinFor(100);
    EXPECT_EQ(notifications->disconnected, 0);
    EXPECT_TRUE(notifications->connectedDisconnectedObjects.isEmpty());
    // The transmitter is still there; nothing reopens it until monitoring starts again.
    EXPECT_FALSE(handler().isSerialPortAvailable());
    handler().startMonitoring();
    EXPECT_TRUE(handler().isSerialPortAvailable()) << "the first look happens at once";
}

TEST_F(SerialLinkTest, LooksForTheCradleOncePerSecondUnscaled) {
    TimeScale::setFactor(1.0);
    handler().startMonitoring(); // the first look finds nothing
    ASSERT_FALSE(handler().isSerialPortAvailable());
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(transmitter->open());
    ASSERT_TRUE(waitFor([&] { return handler().isSerialPortAvailable(); }, 3000));
    EXPECT_GE(clock.elapsed(), 800);
    EXPECT_LE(clock.elapsed(), 1800);
}
