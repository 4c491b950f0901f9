#include "transmitter/CradlePortFinder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using CradlePortFinder::Candidate;
using CradlePortFinder::findCradle;

namespace {
// Device files and a by-id folder of links to them, as Linux lays them out.
struct FakeDevTree {
    QTemporaryDir root;
    QString byId() const { return root.filePath(QStringLiteral("by-id")); }
    QString device(const QString& name) {
        const QString path = root.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    void link(const QString& linkName, const QString& target) {
        QDir().mkpath(byId());
        ASSERT_TRUE(QFile::link(target, byId() + QLatin1Char('/') + linkName));
    }
};
} // namespace

TEST(CradlePortFinder, RecognisesTheCradleByMacPortNameOrUsbSerialNumber) {
    const QList<Candidate> ports = {
        {QStringLiteral("cu.Bluetooth-Incoming-Port"), QStringLiteral("/dev/cu.Bluetooth"), {}},
        {QStringLiteral("cu.usbmodem1421"), QStringLiteral("/dev/cu.usbmodem1421"),
         QStringLiteral("ABC")},
        {QStringLiteral("cu.usbmodemKalimbo2SN51"),
         QStringLiteral("/dev/cu.usbmodemKalimbo2SN51"),
         {}},
        {QStringLiteral("tty.usbmodemKalimbo2SN51"),
         QStringLiteral("/dev/tty.usbmodemKalimbo2SN51"),
         {}},
    };
    // The first match wins.
    EXPECT_EQ(findCradle(ports, {}), QStringLiteral("/dev/cu.usbmodemKalimbo2SN51"));

    const QList<Candidate> linux = {
        {QStringLiteral("ttyS0"), QStringLiteral("/dev/ttyS0"), {}},
        {QStringLiteral("ttyACM0"), QStringLiteral("/dev/ttyACM0"),
         QStringLiteral("Kalimbo2SN5A17")},
    };
    EXPECT_EQ(findCradle(linux, {}), QStringLiteral("/dev/ttyACM0"));
}

TEST(CradlePortFinder, IgnoresOtherDevicesAndNearMisses) {
    const QList<Candidate> ports = {
        {QStringLiteral("ttyACM0"), QStringLiteral("/dev/ttyACM0"), QStringLiteral("Kalimbo1SN5")},
        {QStringLiteral("cu.usbmodemKalimbo2SN4"),
         QStringLiteral("/dev/cu.usbmodemKalimbo2SN4"),
         {}},
        {QStringLiteral("ttyUSB0"), QStringLiteral("/dev/ttyUSB0"), {}},
    };
    EXPECT_TRUE(findCradle(ports, {}).isEmpty());
    EXPECT_TRUE(findCradle({}, {}).isEmpty());
}

TEST(CradlePortFinder, FollowsByIdLinksToTheDeviceTheyName) {
    FakeDevTree tree;
    const QString acm0 = tree.device(QStringLiteral("ttyACM0"));
    const QString acm1 = tree.device(QStringLiteral("ttyACM1"));
    tree.link(QStringLiteral("usb-Other_Modem_123-if00"), acm0);
    tree.link(QStringLiteral("usb-Ostrivane_Cradle_Kalimbo2SN5A17-if00"), acm1);

    const QList<Candidate> ports = {
        {QStringLiteral("ttyACM0"), acm0, {}},
        {QStringLiteral("ttyACM1"), acm1, {}},
    };
    EXPECT_EQ(findCradle(ports, tree.byId()), acm1);
    // Without the by-id folder nothing identifies it.
    EXPECT_TRUE(findCradle(ports, tree.root.filePath(QStringLiteral("missing"))).isEmpty());
    // A cradle link whose device is not among the listed ports is not a port to open.
    EXPECT_TRUE(findCradle({{QStringLiteral("ttyACM0"), acm0, {}}}, tree.byId()).isEmpty());
}
