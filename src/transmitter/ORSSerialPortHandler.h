#pragma once

#include "transmitter/ORSSerialPortHandlerDelegate.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <atomic>
#include <optional>

// The one serial link to the transmitter's cradle. While monitoring, it looks for the cradle
// about once a second, opens it when it appears (115200 baud, 8N1, DTR and RTS on where the
// device has them) and closes it when it goes away, posting the serial-port notifications
// once per change. A device path in the configuration ("SERIALDEVICEPATH") is used instead of
// searching; that is how a pseudo-terminal stands in for the cradle. A configured device that is
// missing, or a cradle that is there but cannot be opened, is looked for again at every look and
// reported (the device, and the system's reason, on the console and in the debug log) once per
// cause and appearance.
//
// Lives on the main thread; its delegate is called there.
class ORSSerialPortHandler : public QObject {
    Q_OBJECT
public:
    static ORSSerialPortHandler& shared();

    // Seconds between two looks for the cradle (scaled by TimeScale).
    static constexpr double pollIntervalSeconds = 1.0;

    // True from the moment the cradle's port has been opened until it is removed or closed.
    // Safe to read from any thread.
    bool isSerialPortAvailable() const { return available_.load(); }

    // Held weakly: once the delegate object is destroyed, delegate() is null. The delegate
    // must be a QObject; anything else is refused (it could not be watched and might dangle).
    ORSSerialPortHandlerDelegate* delegate() const;
    void setDelegate(ORSSerialPortHandlerDelegate* delegate);

    // Decodes the base64 text and writes the bytes unchanged, without framing. Input that
    // waits unread at that moment is discarded first: it cannot be the command's reply. Text that
    // is not strict, padded base64, or decodes to nothing, is not written. Returns whether the
    // bytes were handed to the open port; false when there is none. Called off the main
    // thread, the write is queued to it and the result says whether it could be queued.
    bool sendCommandToTransmitter(const QString& base64Text);

    // Standard base64 (padded, no line breaks) of bytes given as integers 0..255. A value out
    // of that range is not a byte: the result is then empty text.
    static QString getBase64String(const QList<int>& byteArray);
    static QString getBase64String(const QByteArray& bytes);

    // Strict base64: the standard alphabet, padded to a multiple of four, nothing else.
    static std::optional<QByteArray> decodeBase64(const QString& text);

    // Starts looking for the cradle at once and then every pollIntervalSeconds.
    void startMonitoring();
    // Stops looking and closes the port quietly (no notifications): for shutting down.
    void stopMonitoring();
    bool isMonitoring() const { return pollTimer_.isActive(); }

    // The device file of the open port, empty when none is open.
    QString openPortLocation() const { return openLocation_; }

    // Set after a firmware upgrade, so the next connection waits for the transmitter to
    // restart; cleared when an upgrade or support upload ends in an error. Main thread only.
    bool isUpgradeDone = false;

private:
    explicit ORSSerialPortHandler(QObject* parent);

    void poll();
    // Says a trouble with the cradle, unless it is the one said last.
    void reportOnce(const QString& trouble);
    bool openPort(const QString& location);
    void closePort();
    void portWentAway(const QString& reason);
    void readAvailableBytes();
    void onPortError(QSerialPort::SerialPortError error);
    bool writeToPort(const QByteArray& bytes);

    QTimer pollTimer_;
    QSerialPort* port_ = nullptr;
    std::atomic<bool> available_{false};
    QString openLocation_;
    // The trouble said last; cleared when the cradle opens or is gone.
    QString lastTrouble_;
    QPointer<QObject> delegateObject_;
    ORSSerialPortHandlerDelegate* delegate_ = nullptr;
};
