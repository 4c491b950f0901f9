#include "doubles/PtyTransmitter.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyTransmitter::Rule PtyTransmitter::whenEndsWith(const QByteArray& command,
                                                  QList<QByteArray> chunks, int delayMs) {
    return when([command](const QByteArray& pending, int) { return pending.endsWith(command); },
                std::move(chunks), delayMs);
}

PtyTransmitter::Rule PtyTransmitter::whenNth(int n, QList<QByteArray> chunks, int delayMs) {
    return when(
        [n](const QByteArray& pending, int index) { return index == n && !pending.isEmpty(); },
        std::move(chunks), delayMs);
}

PtyTransmitter::Rule PtyTransmitter::when(Matcher matcher, QList<QByteArray> chunks, int delayMs) {
    Rule rule;
    rule.matches = std::move(matcher);
    rule.chunks = std::move(chunks);
    rule.delayMs = delayMs;
    return rule;
}

PtyTransmitter::PtyTransmitter(QString linkPath, QObject* parent)
    : QObject(parent), linkPath_(std::move(linkPath)) {
    if (linkPath_.isEmpty()) {
        ownedDir_ = std::make_unique<QTemporaryDir>();
        linkPath_ = ownedDir_->filePath(QStringLiteral("cradle"));
    }
}

PtyTransmitter::~PtyTransmitter() {
    close();
}

bool PtyTransmitter::open() {
    if (isOpen())
        return true;
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        qWarning() << "PtyTransmitter: openpty failed:" << strerror(errno);
        return false;
    }
    // Raw line discipline: no echo, no line editing, no CR/LF translation. The application's
    // serial settings replace these when it opens the device, but until then nothing written
    // here may come back or be altered.
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);

    char name[128] = {};
    if (::ptsname_r(master, name, sizeof name) != 0) {
        ::close(master);
        ::close(slave);
        return false;
    }
    ptyName_ = QString::fromLocal8Bit(name);
    QFile::remove(linkPath_);
    if (!QFile::link(ptyName_, linkPath_)) {
        qWarning() << "PtyTransmitter: cannot link" << linkPath_ << "to" << ptyName_;
        ::close(master);
        ::close(slave);
        return false;
    }
    // This end keeps the slave open too: otherwise, whenever the application closes its side,
    // every read of the master fails with EIO and the read notifier fires without end.
    masterFd_ = master;
    slaveFd_ = slave;
    readNotifier_ = new QSocketNotifier(masterFd_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyTransmitter::onReadable);
    writeNotifier_ = new QSocketNotifier(masterFd_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyTransmitter::onWritable);
    return true;
}

void PtyTransmitter::close() {
    // The device name goes first, as when a cradle is pulled out.
    if (isOpen())
        QFile::remove(linkPath_);
    ++generation_;
    schedule_.clear();
    chunkTimerRunning_ = false;
    output_.clear();
    pending_.clear();
    closeFds();
}

bool PtyTransmitter::reopen() {
    close();
    return open();
}

bool PtyTransmitter::lineSettings(termios& settings) const {
    // On the controlling side, tcgetattr reads the settings of the side the application has.
    return masterFd_ >= 0 && ::tcgetattr(masterFd_, &settings) == 0;
}

void PtyTransmitter::closeFds() {
    for (QPointer<QSocketNotifier>* notifier : {&readNotifier_, &writeNotifier_}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
            // May be running its own activation right now.
            (*notifier)->deleteLater();
        }
        *notifier = nullptr;
    }
    if (masterFd_ >= 0)
        ::close(masterFd_);
    if (slaveFd_ >= 0)
        ::close(slaveFd_);
    masterFd_ = -1;
    slaveFd_ = -1;
}

void PtyTransmitter::clearReceived() {
    received_.clear();
    pending_.clear();
    commands_.clear();
}

bool PtyTransmitter::takeBytesWithoutEventLoop(int timeoutMs) {
    if (!isOpen())
        return false;
    pollfd master{masterFd_, POLLIN, 0};
    if (::poll(&master, 1, timeoutMs) <= 0 || !(master.revents & POLLIN))
        return false;
    const qsizetype before = received_.size();
    onReadable();
    return received_.size() > before;
}

void PtyTransmitter::onReadable() {
    QByteArray chunk;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(masterFd_, buffer, sizeof buffer);
        if (n > 0) {
            chunk.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: drained; anything else: nothing more to read now
    }
    if (chunk.isEmpty())
        return;
    received_.append(chunk);
    pending_.append(chunk);
    emit bytesReceived(chunk);
    matchRules();
}

void PtyTransmitter::matchRules() {
    const int index = commandCount();
    for (Rule& rule : rules_) {
        if (rule.remainingUses == 0 || !rule.matches(pending_, index))
            continue;
        if (rule.remainingUses > 0)
            --rule.remainingUses;
        const QByteArray command = pending_;
        pending_.clear();
        commands_.append(command);
        for (const QByteArray& chunk : rule.chunks)
            schedule_.append({chunk, rule.delayMs});
        scheduleNextChunk();
        emit commandAnswered(index, command);
        return;
    }
}

void PtyTransmitter::sendChunks(QList<QByteArray> chunks, int delayMs) {
    for (QByteArray& chunk : chunks)
        schedule_.append({std::move(chunk), delayMs});
    scheduleNextChunk();
}

void PtyTransmitter::scheduleNextChunk() {
    if (chunkTimerRunning_ || schedule_.isEmpty())
        return;
    chunkTimerRunning_ = true;
    const quint64 generation = generation_;
    QTimer::singleShot(schedule_.first().delayMs, this, [this, generation] {
        if (generation != generation_)
            return; // closed meanwhile: this reply belonged to the unplugged device
        chunkTimerRunning_ = false;
        send(schedule_.takeFirst().chunk);
        if (schedule_.isEmpty())
            emit allRepliesSent();
        else
            scheduleNextChunk();
    });
}

void PtyTransmitter::send(const QByteArray& bytes) {
    if (!isOpen() || bytes.isEmpty())
        return;
    output_.append(bytes);
    flushOutput();
}

void PtyTransmitter::onWritable() {
    flushOutput();
}

void PtyTransmitter::flushOutput() {
    while (!output_.isEmpty()) {
        const ssize_t n = ::write(masterFd_, output_.constData(), output_.size());
        if (n > 0) {
            output_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            writeNotifier_->setEnabled(true);
            return;
        }
        qWarning() << "PtyTransmitter: write failed:" << strerror(errno);
        output_.clear();
    }
    if (writeNotifier_)
        writeNotifier_->setEnabled(false);
}
