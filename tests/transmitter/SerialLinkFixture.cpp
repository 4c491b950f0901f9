#include "SerialLinkFixture.h"

#include "core/AppConstants.h"
#include "core/Configuration.h"
#include "doubles/WaitFor.h"
#include "platform/BundleInfo.h"
#include "platform/NotificationCenter.h"
#include "platform/TimeScale.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace Names = AppConstants::Notifications;

QByteArray RecordingDelegate::allBytes() const {
    QByteArray all;
    for (const QByteArray& chunk : chunks)
        all += chunk;
    return all;
}

NotificationLog::NotificationLog() {
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, Names::serialPortsWereConnected,
                       [this](const QVariant&) { ++connected; });
    center.addObserver(this, Names::serialPortsWereDisconnected,
                       [this](const QVariant&) { ++disconnected; });
    center.addObserver(
        this, Names::serialPortConnectedDisconnected,
        [this](const QVariant& object) { connectedDisconnectedObjects.append(object); });
}

NotificationLog::~NotificationLog() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void SerialLinkTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    devicePath = dir.filePath(QStringLiteral("cradle"));
    const QString infoPath = dir.filePath(QStringLiteral("Info.json"));
    QFile info(infoPath);
    ASSERT_TRUE(info.open(QIODevice::WriteOnly));
    QJsonObject values;
    values.insert(Configs::key(ConfigsKeys::serialDevicePath), devicePath);
    info.write(QJsonDocument(values).toJson());
    info.close();
    BundleInfo::setFilePath(infoPath);

    TimeScale::setFactor(0.02); // poll every 20 ms
    transmitter = std::make_unique<PtyTransmitter>(devicePath);
    screen = std::make_unique<RecordingDelegate>();
    notifications = std::make_unique<NotificationLog>();
    handler().setDelegate(screen.get());
}

void SerialLinkTest::TearDown() {
    handler().stopMonitoring();
    handler().setDelegate(nullptr);
    notifications.reset();
    transmitter.reset();
    BundleInfo::setFilePath({});
    TimeScale::setFactor(1.0);
}

void SerialLinkTest::plugIn() {
    ASSERT_TRUE(transmitter->open());
    handler().startMonitoring();
    ASSERT_TRUE(waitFor([&] { return handler().isSerialPortAvailable(); }));
}
