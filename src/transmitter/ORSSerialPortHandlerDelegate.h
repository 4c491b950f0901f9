#pragma once

#include <QByteArray>

// The screen that currently talks to the transmitter. The serial handler holds it weakly; an
// implementation must also be a QObject so the handler can tell when it is gone.
class ORSSerialPortHandlerDelegate {
public:
    virtual ~ORSSerialPortHandlerDelegate() = default;

    // One chunk exactly as it was read from the port: no buffering, no framing. Called on the
    // main thread, in arrival order.
    virtual void didReceiveTransmitterBytesResponse(const QByteArray& bytes) = 0;
    virtual void serialPortWasOpened() {}
    virtual void showKalimboOneConnectedAlert() {}
};
