#pragma once

#include "doubles/PtyTransmitter.h"
#include "transmitter/ORSSerialPortHandler.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTemporaryDir>
#include <QThread>
#include <QVariant>
#include <gtest/gtest.h>

#include <memory>

// A screen that takes the transmitter's bytes.
class RecordingDelegate : public QObject, public ORSSerialPortHandlerDelegate {
    Q_OBJECT
public:
    void didReceiveTransmitterBytesResponse(const QByteArray& bytes) override {
        chunks.append(bytes);
        if (QThread::currentThread() != thread())
            offMainThread = true;
    }
    void serialPortWasOpened() override { ++openedCount; }

    QByteArray allBytes() const;

    QList<QByteArray> chunks;
    int openedCount = 0;
    bool offMainThread = false;
};

// Counts the serial notifications and keeps the objects they carried.
class NotificationLog : public QObject {
    Q_OBJECT
public:
    NotificationLog();
    ~NotificationLog() override;

    int connected = 0;
    int disconnected = 0;
    QList<QVariant> connectedDisconnectedObjects;
};

// The handler configured for a pseudo-terminal cradle, polling every 20 ms.
class SerialLinkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ORSSerialPortHandler& handler() { return ORSSerialPortHandler::shared(); }
    // Starts monitoring and waits for the port to open.
    void plugIn();
    QString b64(const QByteArray& bytes) { return QString::fromLatin1(bytes.toBase64()); }

    QTemporaryDir dir;
    QString devicePath;
    std::unique_ptr<PtyTransmitter> transmitter;
    std::unique_ptr<RecordingDelegate> screen;
    std::unique_ptr<NotificationLog> notifications;
};
