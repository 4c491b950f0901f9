#include "transmitter/CradlePortFinder.h"

#include "core/AppConstants.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace {
// macOS names a USB modem device "usbmodem" followed by its USB serial number; elsewhere the
// serial number itself, or the by-id link that embeds it, identifies the cradle.
const QString kMacDevicePrefix = QStringLiteral("usbmodem");

QString cradleSerialPrefix() {
    const QString marker = AppConstants::SerialPort::cradleNameFragment;
    return marker.startsWith(kMacDevicePrefix) ? marker.mid(kMacDevicePrefix.size()) : marker;
}

bool namesCradle(const QString& text) {
    if (text.isEmpty())
        return false;
    return text.contains(AppConstants::SerialPort::cradleNameFragment) ||
           text.contains(cradleSerialPrefix());
}
} // namespace

QList<CradlePortFinder::Candidate> CradlePortFinder::availablePorts() {
    QList<Candidate> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports.append({info.portName(), info.systemLocation(), info.serialNumber()});
    return ports;
}

QString CradlePortFinder::defaultByIdFolder() {
    return QStringLiteral("/dev/serial/by-id");
}

QString CradlePortFinder::findCradle(const QList<Candidate>& ports, const QString& byIdFolder) {
    // Links whose names identify a cradle, resolved to the device files they lead to.
    QStringList linkedDevices;
    const QDir byId(byIdFolder);
    if (!byIdFolder.isEmpty() && byId.exists()) {
        for (const QFileInfo& link : byId.entryInfoList(QDir::Files | QDir::System)) {
            if (namesCradle(link.fileName()))
                linkedDevices.append(link.canonicalFilePath());
        }
    }
    for (const Candidate& port : ports) {
        if (port.portName.contains(AppConstants::SerialPort::cradleNameFragment) ||
            namesCradle(port.serialNumber))
            return port.systemLocation;
        const QString device = QFileInfo(port.systemLocation).canonicalFilePath();
        if (!device.isEmpty() && linkedDevices.contains(device))
            return port.systemLocation;
    }
    return {};
}
