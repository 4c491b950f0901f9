#include "support/ReplyFramer.h"

#include "core/Helper.h"
#include "platform/TimeScale.h"

#include <algorithm>
#include <utility>

ReplyFramer::ReplyFramer(QObject* parent, qsizetype quietReplySizeLimit)
    : QObject(parent), sizeLimit_(quietReplySizeLimit) {
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
    connect(&quietTimer_, &DeadlineTimer::timeout, this, &ReplyFramer::quietTimerFired);
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
    if (collected_.size() + chunk.size() > sizeLimit_) {
        reset();
        emit replyTooLarge(current_);
        return;
    }
    // A reply that turns out large (a log's data) grows inside room for the largest allowed,
    // taken once: it is then never copied while it grows, nor held twice in memory for a
    // moment. The room is address space; only what has arrived takes memory.
    if (collected_.size() + chunk.size() > largeReplyBytes && collected_.capacity() < sizeLimit_)
        collected_.reserve(sizeLimit_);
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
    lastChunkAt_ = DeadlineTimer::Clock::now();
    quietCommand_ = current_;
    if (quietTimer_.isActive())
        return;
    // The first byte has come: from here the quiet period decides the end, within the reply's
    // total bound.
    const qint64 total = TimeScale::milliseconds(
        quietReplyLimitSeconds(sizeLimit_, LogCommands::rule(quietCommand_).quietPeriodSeconds));
    deadline_.start(static_cast<int>(std::max<qint64>(0, total - sinceWritten_.elapsed())));
    quietTimer_.startAt(quietPeriodEnd());
}

DeadlineTimer::Clock::time_point ReplyFramer::quietPeriodEnd() const {
    return lastChunkAt_ + std::chrono::milliseconds(TimeScale::milliseconds(
                              LogCommands::rule(quietCommand_).quietPeriodSeconds));
}

void ReplyFramer::quietTimerFired() {
    // Chunks came after the timer was set: the period runs from the last of them.
    if (const auto end = quietPeriodEnd(); DeadlineTimer::Clock::now() < end) {
        quietTimer_.startAt(end);
        return;
    }
    finishReply(quietCommand_);
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
    reset();
    emit replyTimedOut(current_);
}

void ReplyFramer::reset() {
    collecting_ = false;
    collected_.clear();
    quietTimer_.stop();
    deadline_.stop();
}
