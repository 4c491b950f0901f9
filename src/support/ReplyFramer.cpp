#include "support/ReplyFramer.h"

#include "core/Helper.h"
#include "platform/TimeScale.h"

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
    written_ = false;
}

void ReplyFramer::commandWritten() {
    written_ = true;
    collected_.clear();
    quietTimer_.stop();
    awaited_ = current_;
    const bool lengthFramed = LogCommands::rule(current_).framing == ReplyFraming::lengthHeader;
    const double limit = lengthFramed ? lengthFramedReplyLimitSeconds : firstByteLimitSeconds;
    deadline_.start(TimeScale::milliseconds(limit));
}

void ReplyFramer::receive(const QByteArray& chunk) {
    // While the command is still on its way from the cloud, a chunk is a leftover of an
    // earlier reply: collected, it could complete this exchange before its command is even
    // written, and the real reply would then be taken for the next exchange's.
    if (chunk.isEmpty() || !written_)
        return;
    collected_.append(chunk);
    if (LogCommands::rule(current_).framing == ReplyFraming::lengthHeader)
        receiveLengthFramed();
    else
        receiveQuiet();
}

void ReplyFramer::receiveLengthFramed() {
    // Bytes left from a quiet-period command now belong to this reply's accumulator.
    quietTimer_.stop();
    const std::optional<int> expected = Helper::getUSBMessageSize(collected_);
    if (!expected || collected_.size() < *expected)
        return;
    finishReply(current_);
}

void ReplyFramer::receiveQuiet() {
    // The first byte has come: from here the quiet period decides the end.
    if (awaited_ == current_)
        deadline_.stop();
    quietCommand_ = current_;
    quietTimer_.start(TimeScale::milliseconds(LogCommands::rule(current_).quietPeriodSeconds));
}

void ReplyFramer::finishReply(logCommand command) {
    quietTimer_.stop();
    deadline_.stop();
    // Taken out before anyone hears of it: a listener may write the next command at once.
    const QByteArray frame = std::exchange(collected_, {});
    emit replyReady(command, frame);
}

void ReplyFramer::deadlinePassed() {
    collected_.clear();
    quietTimer_.stop();
    emit replyTimedOut(awaited_);
}

void ReplyFramer::reset() {
    written_ = false;
    collected_.clear();
    quietTimer_.stop();
    deadline_.stop();
}
