#pragma once

#include <QList>
#include <QString>

// Which serial device is the transmitter's cradle. Widget-free and free of Qt's port
// enumeration, so the choice can be checked against any list of ports.
namespace CradlePortFinder {

struct Candidate {
    QString portName;       // e.g. "cu.usbmodemKalimbo2SN51" on macOS, "ttyACM0" on Linux
    QString systemLocation; // the device file, e.g. "/dev/ttyACM0"
    QString serialNumber;   // the USB serial number, empty when unknown
};

// The serial ports the system lists now, in its order.
QList<Candidate> availablePorts();

// The system location of the first candidate that is the cradle, or empty text. A cradle is
// recognised by its port name (macOS names it after its USB serial number), by its USB serial
// number, or by a link in byIdFolder (Linux's /dev/serial/by-id) whose name identifies the
// cradle and which leads to the candidate's device file.
QString findCradle(const QList<Candidate>& ports, const QString& byIdFolder);

// The folder of stable per-device links on Linux.
QString defaultByIdFolder();

} // namespace CradlePortFinder
