#include "transmitter/ORSSerialPortHandler.h"

#include "core/AppConstants.h"
#include "core/Configuration.h"
#include "core/Console.h"
#include "core/Logger.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/TimeScale.h"
#include "transmitter/CradlePortFinder.h"
#include "transmitter/SerialLine.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

namespace {

// Whether the open line still works: its device is there and it is neither hung up nor in
// error. Where that cannot be asked, a failed read counts as a lost line.
bool lineIsUp(const QSerialPort& port, const QString& location) {
#ifdef Q_OS_UNIX
    pollfd line{static_cast<int>(port.handle()), POLLIN, 0};
    if (::poll(&line, 1, 0) < 0)
        return false;
    return (line.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0 && QFileInfo::exists(location);
#else
    Q_UNUSED(port);
    Q_UNUSED(location);
    return false;
#endif
}

} // namespace

ORSSerialPortHandler& ORSSerialPortHandler::shared() {
    // Owned by the application object, so it goes before the event loop's machinery does.
    static QPointer<ORSSerialPortHandler> instance;
    if (!instance)
        instance = new ORSSerialPortHandler(QCoreApplication::instance());
    return *instance;
}

ORSSerialPortHandler::ORSSerialPortHandler(QObject* parent) : QObject(parent) {
    connect(&pollTimer_, &QTimer::timeout, this, &ORSSerialPortHandler::poll);
}

ORSSerialPortHandlerDelegate* ORSSerialPortHandler::delegate() const {
    return delegateObject_ ? delegate_ : nullptr;
}

void ORSSerialPortHandler::setDelegate(ORSSerialPortHandlerDelegate* delegate) {
    QObject* object = dynamic_cast<QObject*>(delegate);
    if (delegate && !object) {
        Logger::log(LOG_PREFIX + QStringLiteral(" | ERROR: a serial delegate must be a QObject"));
        delegate = nullptr;
    }
    delegateObject_ = object;
    delegate_ = delegate;
}

// ---- Base64 ----

std::optional<QByteArray> ORSSerialPortHandler::decodeBase64(const QString& text) {
    // One pass, whatever the length: whole groups of four, the standard alphabet, and at most
    // two padding characters, only at the very end.
    const qsizetype length = text.size();
    if (length % 4 != 0)
        return std::nullopt;
    qsizetype padding = 0;
    while (padding < 2 && padding < length && text.at(length - 1 - padding) == u'=')
        ++padding;
    const auto inAlphabet = [](char16_t c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
               c == u'+' || c == u'/';
    };
    for (qsizetype i = 0; i < length - padding; ++i) {
        if (!inAlphabet(text.at(i).unicode()))
            return std::nullopt;
    }
    auto result =
        QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (result.decodingStatus != QByteArray::Base64DecodingStatus::Ok)
        return std::nullopt;
    return result.decoded;
}

QString ORSSerialPortHandler::getBase64String(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toBase64());
}

QString ORSSerialPortHandler::getBase64String(const QList<int>& byteArray) {
    QByteArray bytes;
    bytes.reserve(byteArray.size());
    for (int value : byteArray) {
        if (value < 0 || value > 255) {
            Logger::log(LOG_PREFIX + QStringLiteral(" | ERROR: %1 is not a byte").arg(value));
            return {};
        }
        bytes.append(static_cast<char>(value));
    }
    return getBase64String(bytes);
}

// ---- Writing and reading ----

bool ORSSerialPortHandler::sendCommandToTransmitter(const QString& base64Text) {
    const std::optional<QByteArray> bytes = decodeBase64(base64Text);
    if (!bytes || bytes->isEmpty()) {
        Logger::log(LOG_PREFIX +
                    QStringLiteral(" | ERROR: command is empty or not base64, not written"));
        return false;
    }
    if (!MainQueue::isMainThread()) {
        // The port belongs to the main thread; keep the write in order with everything else.
        const bool available = isSerialPortAvailable();
        if (available)
            MainQueue::async(this, [this, data = *bytes] { writeToPort(data); });
        return available;
    }
    return writeToPort(*bytes);
}

bool ORSSerialPortHandler::writeToPort(const QByteArray& bytes) {
    // A cradle pulled out now is reported by the port during the calls below, which closes it
    // and takes it out of port_; it is deleted only later, so they go on and fail on it.
    QSerialPort* const port = port_;
    if (!port) {
        Logger::log(LOG_PREFIX + QStringLiteral(" | ERROR: no transmitter port is open"));
        return false;
    }
    // Whatever still waits unread was sent before this command and cannot be its reply: read
    // after the write, it would be taken for the start of one. Both Qt's buffer and the
    // device's go.
    if (!port->clear(QSerialPort::Input))
        Logger::log(LOG_PREFIX + QStringLiteral(" | ERROR: input not cleared: ") +
                    port->errorString());
    const qint64 written = port->write(bytes);
    if (written != bytes.size()) {
        Logger::log(LOG_PREFIX + QStringLiteral(" | ERROR: write failed: ") + port->errorString());
        return false;
    }
    // Qt would write it on its next pass through the event loop, after whatever else waits
    // there; a command is a few bytes, which the port takes at once.
    port->flush();
    return true;
}

void ORSSerialPortHandler::readAvailableBytes() {
    if (!port_)
        return;
    const QByteArray chunk = port_->readAll();
    if (chunk.isEmpty())
        return;
    if (ORSSerialPortHandlerDelegate* target = delegate())
        target->didReceiveTransmitterBytesResponse(chunk);
    else
        Logger::log(
            LOG_PREFIX +
            QStringLiteral(" | ERROR: %1 bytes from the transmitter with no screen to take them")
                .arg(chunk.size()));
}

// ---- Finding, opening and losing the cradle ----

void ORSSerialPortHandler::startMonitoring() {
    pollTimer_.start(TimeScale::milliseconds(pollIntervalSeconds));
    poll();
}

void ORSSerialPortHandler::stopMonitoring() {
    pollTimer_.stop();
    closePort();
    lastTrouble_.clear();
}

void ORSSerialPortHandler::reportOnce(const QString& trouble) {
    if (trouble == lastTrouble_)
        return;
    lastTrouble_ = trouble;
    Logger::log(LOG_PREFIX + AppConstants::DebugLog::errorLabel + trouble);
    Console::print(trouble);
}

void ORSSerialPortHandler::poll() {
    if (port_) {
        // The open device stays while its file does, even if another cradle now comes first.
        if (!QFileInfo::exists(openLocation_))
            portWentAway(QStringLiteral("device no longer present"));
        return;
    }
    const QString configured = Configs::value(ConfigsKeys::serialDevicePath);
    // A device the configuration names is the only one looked for: its absence is worth saying.
    if (!configured.isEmpty() && !QFileInfo::exists(configured)) {
        reportOnce(AppConstants::SerialPort::notFound + configured);
        return;
    }
    const QString location =
        !configured.isEmpty() ? configured
                              : CradlePortFinder::findCradle(CradlePortFinder::availablePorts(),
                                                             CradlePortFinder::defaultByIdFolder());
    if (location.isEmpty()) {
        // Gone: when it comes back, a failure to open it is worth saying again.
        lastTrouble_.clear();
        return;
    }
    openPort(location);
}

bool ORSSerialPortHandler::openPort(const QString& location) {
    auto* port = new QSerialPort(this);
    port->setPortName(location);
    port->setBaudRate(SerialLine::baudRate);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite)) {
        // Looked for again on the next poll; say so once, not every second. Without the right
        // to open the device the cradle is never opened, so whoever starts the application
        // from a terminal is told too.
        reportOnce(AppConstants::SerialPort::cannotBeOpened + location + QStringLiteral(": ") +
                   port->errorString());
        delete port;
        return false;
    }
    lastTrouble_.clear();
    // Not every device has modem lines (a pseudo-terminal has none): a warning, not a failure.
    const bool dtrSet = port->setDataTerminalReady(true);
    const bool rtsSet = port->setRequestToSend(true);
    if (!dtrSet || !rtsSet)
        Logger::log(LOG_PREFIX + QStringLiteral(" | DTR/RTS not set on ") + location +
                    QStringLiteral(": ") + port->errorString());
    port->clearError();
    connect(port, &QSerialPort::readyRead, this, &ORSSerialPortHandler::readAvailableBytes);
    connect(port, &QSerialPort::errorOccurred, this, &ORSSerialPortHandler::onPortError);
    port_ = port;
    openLocation_ = location;
    available_ = true;
    Logger::log(LOG_PREFIX + QStringLiteral(" | Response: transmitter port opened: ") + location);

    NotificationCenter::defaultCenter().post(AppConstants::Notifications::serialPortsWereConnected);
    if (ORSSerialPortHandlerDelegate* target = delegate())
        target->serialPortWasOpened();
    return true;
}

void ORSSerialPortHandler::onPortError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || !port_ || sender() != port_)
        return;
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
        if (lineIsUp(*port_, openLocation_)) {
            // A read that Qt was told of before the input was cleared (see writeToPort) found
            // nothing left: the line is fine. Qt stops reading after such an error; asking it
            // to read again costs nothing.
            port_->clearError();
            port_->setReadBufferSize(port_->readBufferSize());
            return;
        }
        // The device vanished, or its line hung up (a closed pseudo-terminal reads as end of
        // file, which Qt reports as a read error). Qt repeats the error for as long as the
        // port stays open, so close it now; if the device is still there, the next poll
        // opens it again.
        portWentAway(QVariant::fromValue(error).toString() + QStringLiteral(": ") +
                     port_->errorString());
        return;
    }
    Logger::log(LOG_PREFIX + QStringLiteral(" | ERROR: ") + port_->errorString());
    port_->clearError();
}

void ORSSerialPortHandler::closePort() {
    QSerialPort* port = std::exchange(port_, nullptr);
    openLocation_.clear();
    available_ = false;
    if (!port)
        return;
    port->disconnect(this);
    port->close();
    // This may be running inside one of the port's own signals.
    port->deleteLater();
}

void ORSSerialPortHandler::portWentAway(const QString& reason) {
    if (!port_)
        return;
    Logger::log(LOG_PREFIX + QStringLiteral(" | ERROR: transmitter port gone: ") + reason);
    closePort();
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.post(AppConstants::Notifications::serialPortsWereDisconnected);
    center.post(AppConstants::Notifications::serialPortConnectedDisconnected, QVariant(false));
}
