#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
struct termios;

class QSocketNotifier;
class QTemporaryDir;

// A transmitter in its cradle, played on a pseudo-terminal. The application opens devicePath()
// like any serial device; this end records every byte the application writes and answers by
// script. devicePath() is a symbolic link to the pseudo-terminal, so it stays the same across
// close() and reopen(), the way a cradle's device name does when it is unplugged and plugged
// back in.
//
// Everything is driven by the event loop of the thread that owns the object: nothing blocks.
//
// Commands: the bytes received since the last answered command are "pending". After every
// read the rules are tried in the order they were added; the first whose matcher accepts the
// pending bytes answers them: the pending bytes become command number commandCount() (counted
// from 0) and the rule's chunks are sent, each after the rule's delay. Pending bytes that no
// rule accepts stay pending and grow with the next read.
class PtyTransmitter : public QObject {
    Q_OBJECT
public:
    // pending: the bytes received since the last answered command; index: the number the
    // command would get.
    using Matcher = std::function<bool(const QByteArray& pending, int index)>;

    struct Rule {
        Matcher matches;
        QList<QByteArray> chunks;
        int delayMs = 0;
        int remainingUses = -1; // -1: unlimited
    };

    // Answers whenever the pending bytes end with the command.
    static Rule whenEndsWith(const QByteArray& command, QList<QByteArray> chunks, int delayMs = 0);
    // Answers the n-th command (from 0), whatever its bytes, at the first read that brings it.
    static Rule whenNth(int n, QList<QByteArray> chunks, int delayMs = 0);
    static Rule when(Matcher matcher, QList<QByteArray> chunks, int delayMs = 0);

    // linkPath: where devicePath() points at the pseudo-terminal; empty picks a path in a
    // private temporary folder.
    explicit PtyTransmitter(QString linkPath = {}, QObject* parent = nullptr);
    ~PtyTransmitter() override;

    bool open();
    bool isOpen() const { return masterFd_ >= 0; }
    QString devicePath() const { return linkPath_; }
    // The pseudo-terminal itself, e.g. /dev/pts/7; changes with every open().
    QString ptyName() const { return ptyName_; }
    // The line settings the application's end has now (speed, character size, parity...), as
    // tcgetattr reads them; false when closed or unreadable.
    bool lineSettings(termios& settings) const;

    // Unplugging: the link disappears and the pseudo-terminal closes under the application.
    // Replies not yet sent are dropped.
    void close();
    // Plugging back in: a fresh pseudo-terminal behind the same devicePath().
    bool reopen();

    void addRule(Rule rule) { rules_.append(std::move(rule)); }
    void clearRules() { rules_.clear(); }

    // Everything the application wrote, in order, across reopen().
    QByteArray received() const { return received_; }
    // Waits up to timeoutMs for the application's bytes without running the event loop, and
    // takes them in as usual; true when some came.
    bool takeBytesWithoutEventLoop(int timeoutMs);
    QList<QByteArray> commands() const { return commands_; }
    int commandCount() const { return static_cast<int>(commands_.size()); }
    QByteArray pending() const { return pending_; }
    void clearReceived();

    // Unsolicited output towards the application.
    void send(const QByteArray& bytes);
    // Output given to send() that the pseudo-terminal has not taken yet.
    qsizetype unsentBytes() const { return output_.size(); }
    // The chunks in order, each after delayMs (the first one too).
    void sendChunks(QList<QByteArray> chunks, int delayMs);

signals:
    void bytesReceived(const QByteArray& chunk);
    void commandAnswered(int index, const QByteArray& command);
    void allRepliesSent();

private:
    void onReadable();
    void onWritable();
    void flushOutput();
    void matchRules();
    void scheduleNextChunk();
    void closeFds();

    QString linkPath_;
    QString ptyName_;
    std::unique_ptr<QTemporaryDir> ownedDir_;
    int masterFd_ = -1;
    int slaveFd_ = -1;
    quint64 generation_ = 0;
    QPointer<QSocketNotifier> readNotifier_;
    QPointer<QSocketNotifier> writeNotifier_;
    QList<Rule> rules_;
    QByteArray received_;
    QByteArray pending_;
    QList<QByteArray> commands_;
    QByteArray output_;
    struct Scheduled {
        QByteArray chunk;
        int delayMs;
    };
    QList<Scheduled> schedule_;
    bool chunkTimerRunning_ = false;
};
