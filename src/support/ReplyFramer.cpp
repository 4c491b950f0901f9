#include "support/ReplyFramer.h"

#include "core/Helper.h"
#include "platform/TimeScale.h"

#include <algorithm>
#include <utility>

ReplyFramer::ReplyFramer(QObject* parent) : QObject(parent) {
    quietTimer_.setSingleShot(true);
    quietTimer_.setTimerType(Qt::PreciseTimer);
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
    connect(&quietTimer_, &QTimer::timeout, this, [this] { finishReply(quietCommand_); });
    connect(&deadline_, &QTimer::timeout, this, &ReplyFramer::deadlinePassed);
}

void ReplyFramer::setCurrentCommand(logCommand command) {
    current_ = command;
    collecting_ = false;
    deadline_.stop();
}

void ReplyFramer::commandWritten() {
    collecting_ = true;
    collected_.clear();
    quietTimer_.stop();
    sinceWritten_.start();
    const bool lengthFramed = LogCommands::rule(current_).framing == ReplyFraming::lengthHeader;
    const double limit = lengthFramed ? lengthFramedReplyLimitSeconds : firstByteLimitSeconds;
    deadline_.start(TimeScale::milliseconds(limit));
}

void ReplyFramer::receive(const QByteArray& chunk) {
    // Before the command is written a chunk is a leftover of an earlier reply: collected, it
    // could complete this exchange before its command is even written. After the reply is
    // complete it is trailing noise: collected, it would be taken for a second reply.
    if (chunk.isEmpty() || !collecting_)
        return;
    if (LogCommands::rule(current_).framing == ReplyFraming::lengthHeader) {
        collected_.append(chunk);
        receiveLengthFramed();
        return;
    }
    if (collected_.size() + chunk.size() > maxQuietReplyBytes) {
        abandon();
        emit replyTooLarge(current_);
        return;
    }
    // A reply that turns out large (a log's data) grows inside room for the largest allowed,
    // taken once: it is then never copied while it grows, nor held twice in memory for a
    // moment. The room is address space; only what has arrived takes memory.
    if (collected_.size() + chunk.size() > largeReplyBytes &&
        collected_.capacity() < maxQuietReplyBytes)
        collected_.reserve(maxQuietReplyBytes);
    collected_.append(chunk);
    receiveQuiet();
}

void ReplyFramer::receiveLengthFramed() {
    const std::optional<int> expected = Helper::getUSBMessageSize(collected_);
    if (!expected || collected_.size() < *expected)
        return;
    finishReply(current_);
}

void ReplyFramer::receiveQuiet() {
    if (!quietTimer_.isActive()) {
        // The first byte has come: from here the quiet period decides the end, within the
        // reply's total bound.
        const qint64 total = TimeScale::milliseconds(quietReplyLimitSeconds);
        deadline_.start(static_cast<int>(std::max<qint64>(0, total - sinceWritten_.elapsed())));
    }
    quietCommand_ = current_;
    quietTimer_.start(TimeScale::milliseconds(LogCommands::rule(current_).quietPeriodSeconds));
}

void ReplyFramer::finishReply(logCommand command) {
    quietTimer_.stop();
    deadline_.stop();
    collecting_ = false;
    // Taken out before anyone hears of it: a listener may write the next command at once.
    const QByteArray frame = std::exchange(collected_, {});
    emit replyReady(command, frame);
}

void ReplyFramer::deadlinePassed() {
    abandon();
    emit replyTimedOut(current_);
}

void ReplyFramer::abandon() {
    collecting_ = false;
    collected_.clear();
    quietTimer_.stop();
    deadline_.stop();
}

void ReplyFramer::reset() {
    abandon();
}
