#pragma once

#include "platform/DeadlineTimer.h"
#include "support/LogCommand.h"
#include "transmitter/SerialLine.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Turns the serial stream into the transmitter's replies. Chunks are fed in as the port reads
// them; each is framed by the rule of the command current when it arrives: either until the
// length in the reply's 3-byte header is satisfied, or until the command's quiet period passes
// without a further chunk. A complete reply is handed out once, by replyReady.
//
// Only the reply to a written command is collected: bytes that come before the command has
// been written, or after its reply is complete, belong to no exchange and are dropped.
//
// Waiting is bounded: once a command has been written (commandWritten), a length-framed reply
// must be complete within lengthFramedReplyLimitSeconds; a quiet-period reply must begin within
// firstByteLimitSeconds, may not grow past its size limit (a transmitter that never pauses), and
// must be complete within quietReplyLimitSeconds of the write. That time follows from the size
// limit and the line's speed, so the two bounds agree: any reply that fits the size can arrive
// in time. Otherwise replyTimedOut or replyTooLarge ends the exchange. All periods go through
// TimeScale.
class ReplyFramer : public QObject {
    Q_OBJECT
public:
    static constexpr double lengthFramedReplyLimitSeconds = 15.0;
    static constexpr double firstByteLimitSeconds = 30.0;
    // A transmitter's log data runs to tens of megabytes (64 MB logs are uploaded whole, at
    // under three times their size in memory); twice that is no longer a log.
    static constexpr qsizetype maxQuietReplyBytes = qsizetype{128} * 1024 * 1024;
    // From this size on a quiet-period reply is collected in room for the largest allowed.
    static constexpr qsizetype largeReplyBytes = qsizetype{1} * 1024 * 1024;

    // The longest length-framed reply (header, the largest length, two trailing bytes) takes at
    // most half its limit at the line's speed: the other half is for the transmitter to begin.
    static_assert(lengthFramedReplyLimitSeconds >=
                  2 * (LogCommands::replyHeaderSize + 0xFFFF + 2) / SerialLine::bytesPerSecond);

    // From the write to the end of a quiet-period reply of at most sizeLimit bytes: the wait for
    // its first byte, the time its bytes take at the line's speed, and the quiet period that
    // completes it. For the largest log (128 MiB, 10 s quiet) about 3 h 15 min.
    static constexpr double quietReplyLimitSeconds(qsizetype sizeLimit, double quietPeriodSeconds) {
        return firstByteLimitSeconds + static_cast<double>(sizeLimit) / SerialLine::bytesPerSecond +
               quietPeriodSeconds;
    }

    // quietReplySizeLimit: the most a quiet-period reply may hold. Only tests give less, to
    // reach the time it allows quickly.
    explicit ReplyFramer(QObject* parent = nullptr,
                         qsizetype quietReplySizeLimit = maxQuietReplyBytes);

    qsizetype quietReplySizeLimit() const { return sizeLimit_; }

    // Chunks that arrive from now on are framed by this command's rule. Set it before the
    // command request is sent, so that whatever the transmitter answers is collected under it.
    // Until the command has been written (commandWritten), nothing that arrives can be its
    // reply: such bytes are dropped, so that they cannot end the exchange before it began. Nor
    // can the time limit of the exchange before: it stops here.
    void setCurrentCommand(logCommand command);
    logCommand currentCommand() const { return current_; }

    // Call right after writing a command to the transmitter. Bytes still held at this moment
    // were sent before the command and cannot be part of its reply; they are dropped so that
    // they do not corrupt it. Starts the bounds on the reply.
    void commandWritten();

    // One chunk as read from the port.
    void receive(const QByteArray& chunk);

    // Forgets the collected bytes and stops every timer: a new run, a run that has ended, or an
    // exchange given up. Bytes that arrive afterwards are dropped until a command is written.
    void reset();

    qsizetype collectedSize() const { return collected_.size(); }
    bool isAwaitingReply() const { return deadline_.isActive(); }

signals:
    // frame: every byte collected for the reply, header included.
    void replyReady(logCommand command, const QByteArray& frame);
    void replyTimedOut(logCommand command);
    void replyTooLarge(logCommand command);

private:
    void receiveLengthFramed();
    void receiveQuiet();
    void finishReply(logCommand command);
    void quietTimerFired();
    DeadlineTimer::Clock::time_point quietPeriodEnd() const;
    void deadlinePassed();

    qsizetype sizeLimit_;
    logCommand current_ = logCommand::vesrionInfo;
    logCommand quietCommand_ = logCommand::vesrionInfo; // command of the running quiet period
    // The current command has been written and its reply is not complete yet: only then is a
    // chunk collected.
    bool collecting_ = false;
    QByteArray collected_;
    QElapsedTimer sinceWritten_;
    // A quiet period ends its period after the last chunk. The timer is not moved on for every
    // chunk of a large reply: when it fires, it is set again for the rest if a chunk came since.
    DeadlineTimer quietTimer_;
    DeadlineTimer::Clock::time_point lastChunkAt_{};
    QTimer deadline_;
};
