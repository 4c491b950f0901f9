#include "FramerRecorder.h"
#include "doubles/WaitFor.h"

#include "platform/TimeScale.h"
#include "support/ReplyFramer.h"
#include "transmitter/SerialLine.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// 3.0 s -> 60 ms, 10.0 s -> 200 ms, 15 s -> 300 ms, 30 s -> 600 ms.
int scaled(double seconds) {
    return TimeScale::milliseconds(seconds);
}

QByteArray payloadOf(int size, char seed = 'a') {
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>(seed + i));
    return bytes;
}

class ReplyFramerTest : public ::testing::Test {
protected:
    void SetUp() override { TimeScale::setFactor(0.02); }
    void TearDown() override { TimeScale::setFactor(1.0); }

    // Writes a command and lets the given bytes arrive in one chunk.
    void exchange(logCommand command, const QByteArray& reply) {
        framer.setCurrentCommand(command);
        framer.commandWritten();
        framer.receive(reply);
    }
    // Feeds chunks at the given offsets (ms from now) through the event loop; lastFedAt is
    // when the latest one actually arrived, on the recorder's clock.
    void feedAt(const std::vector<std::pair<int, QByteArray>>& plan) {
        for (const auto& [at, chunk] : plan) {
            QTimer::singleShot(at, Qt::PreciseTimer, &framer, [this, bytes = chunk] {
                lastFedAt = recorder.clock.elapsed();
                framer.receive(bytes);
            });
        }
    }

    ReplyFramer framer;
    FramerRecorder recorder{framer};
    qint64 lastFedAt = 0;
};

TEST_F(ReplyFramerTest, LengthFramedReplyCompletesExactlyWhenItsLengthIsMet) {
    const QByteArray frame = replyFrame(0x21, payloadOf(10));
    exchange(logCommand::linkState, frame.left(2));
    EXPECT_TRUE(recorder.replies.empty()) << "two bytes hold no length yet";
    framer.receive(frame.mid(2, 1));
    EXPECT_TRUE(recorder.replies.empty()) << "a header alone is not the reply";
    framer.receive(frame.mid(3));
    ASSERT_EQ(recorder.replies.size(), 1u);
    EXPECT_EQ(recorder.replies[0].command, logCommand::linkState);
    EXPECT_EQ(recorder.replies[0].frame, frame);
    EXPECT_EQ(framer.collectedSize(), 0);
    EXPECT_FALSE(framer.isAwaitingReply());

    // A zero length, and a length whose high byte counts 256.
    exchange(logCommand::patientSettings, replyFrame(0x05, {}));
    ASSERT_EQ(recorder.replies.size(), 2u);
    EXPECT_EQ(recorder.replies[1].frame.size(), 3);
    const QByteArray big = replyFrame(0x06, QByteArray(300, 'x'));
    exchange(logCommand::logClassMapping, big.left(302));
    EXPECT_EQ(recorder.replies.size(), 2u) << "302 bytes must not satisfy a length of 300";
    framer.receive(big.mid(302));
    ASSERT_EQ(recorder.replies.size(), 3u);
    EXPECT_EQ(recorder.replies[2].frame, big);
}

TEST_F(ReplyFramerTest, CompletingChunkWithExtraBytesKeepsThemInThatReplyOnly) {
    // Length 10 but 15 bytes in one chunk: the two bytes past the length go with the reply.
    const QByteArray chunk = replyFrame(0x01, payloadOf(10)) + QByteArray("\xAA\xBB", 2);
    exchange(logCommand::vesrionInfo, chunk);
    ASSERT_EQ(recorder.replies.size(), 1u);
    EXPECT_EQ(recorder.replies[0].frame, chunk);
    EXPECT_EQ(LogCommands::replyBody(logCommand::vesrionInfo, chunk)->size(), 12);
    EXPECT_EQ(framer.collectedSize(), 0) << "nothing is carried over to the next exchange";

    // Trailing bytes that come late, in a chunk of their own, must not corrupt the next reply.
    framer.receive(QByteArray("\x11\x22", 2));
    const QByteArray next = replyFrame(0x04, payloadOf(20, 'A'));
    exchange(logCommand::linkState, next);
    ASSERT_EQ(recorder.replies.size(), 2u);
    EXPECT_EQ(recorder.replies[1].frame, next);
}

TEST_F(ReplyFramerTest, BytesBeforeTheCommandIsWrittenCannotBeItsReply) {
    // Leftovers that come while the command is still on its way from the cloud: a whole
    // length-framed reply, and bytes that would otherwise end a quiet period.
    const QByteArray frame = replyFrame(0x21, payloadOf(4));
    framer.setCurrentCommand(logCommand::linkState);
    framer.receive(frame);
    framer.setCurrentCommand(logCommand::logHeaderMapping);
    framer.receive("stray");
    spinFor(scaled(3.0) * 2);
    EXPECT_TRUE(recorder.replies.empty());
    EXPECT_EQ(framer.collectedSize(), 0);

    // Once written, the command's own reply is framed whole.
    framer.commandWritten();
    feedAt({{0, "\x01\x02\x03own"}});
    ASSERT_TRUE(waitFor([&] { return !recorder.replies.empty(); }));
    EXPECT_EQ(recorder.replies[0].command, logCommand::logHeaderMapping);
    EXPECT_EQ(recorder.replies[0].frame, QByteArray("\x01\x02\x03own"));
}

TEST_F(ReplyFramerTest, ListedCommandsAreFramedOneReplyAtATime) {
    // The next listed command is written from inside the notification of a reply.
    QObject::connect(&framer, &ReplyFramer::replyReady, &framer, [this] {
        if (recorder.replies.size() == 1)
            framer.commandWritten();
    });
    const QByteArray first = replyFrame(0x07, payloadOf(2));
    const QByteArray second = replyFrame(0x07, payloadOf(9));
    exchange(logCommand::tagClassList, first);
    EXPECT_TRUE(framer.isAwaitingReply()) << "the new command's wait must stay bounded";
    framer.receive(second.left(4));
    framer.receive(second.mid(4));
    // A further complete frame before another command is written answers nothing.
    framer.receive(first);
    ASSERT_EQ(recorder.replies.size(), 2u);
    EXPECT_EQ(recorder.replies[1].frame, second);
    EXPECT_EQ(framer.collectedSize(), 0);
}

TEST_F(ReplyFramerTest, EachChunkRestartsTheQuietPeriod) {
    framer.setCurrentCommand(logCommand::downloadLogs);
    framer.commandWritten();
    const int gap = scaled(10.0) * 2 / 5; // well inside the period
    feedAt({{0, "ab"}, {gap, "cd"}, {2 * gap, "ef"}, {3 * gap, "gh"}});
    ASSERT_TRUE(waitFor([&] { return !recorder.replies.empty(); }));
    spinFor(scaled(10.0));
    ASSERT_EQ(recorder.replies.size(), 1u) << "no chunk may end the reply early";
    EXPECT_EQ(recorder.replies[0].frame, QByteArray("abcdefgh"));
    EXPECT_GE(recorder.replies[0].atMs, lastFedAt + scaled(10.0));

    // A 4-second pause under a 3-second command ends the reply; what comes after it belongs
    // to no exchange.
    framer.setCurrentCommand(logCommand::logHeaderMapping);
    framer.commandWritten();
    feedAt({{0, "\x01\x02\x03head"}, {scaled(4.0), "tail"}});
    ASSERT_TRUE(waitFor([&] { return recorder.replies.size() == 2; }));
    EXPECT_EQ(recorder.replies[1].frame, QByteArray("\x01\x02\x03head"));
    spinFor(scaled(4.0) + scaled(3.0) * 2);
    EXPECT_EQ(recorder.replies.size(), 2u);
    EXPECT_EQ(framer.collectedSize(), 0);
}

TEST_F(ReplyFramerTest, SilentTransmitterEndsTheExchange) {
    exchange(logCommand::tagClassMapping, replyFrame(0x09, payloadOf(10)).left(6));
    ASSERT_TRUE(waitFor([&] { return !recorder.timeOuts.empty(); }));
    EXPECT_EQ(recorder.timeOuts[0].command, logCommand::tagClassMapping);
    EXPECT_GE(recorder.timeOuts[0].atMs, scaled(ReplyFramer::lengthFramedReplyLimitSeconds) - 2);
    EXPECT_EQ(framer.collectedSize(), 0) << "a failed exchange leaves nothing behind";

    recorder.clock.restart();
    framer.setCurrentCommand(logCommand::logTypes);
    framer.commandWritten();
    ASSERT_TRUE(waitFor([&] { return recorder.timeOuts.size() == 2; }));
    EXPECT_EQ(recorder.timeOuts[1].command, logCommand::logTypes);
    EXPECT_GE(recorder.timeOuts[1].atMs, scaled(ReplyFramer::firstByteLimitSeconds) - 2);
    spinFor(scaled(ReplyFramer::firstByteLimitSeconds));
    EXPECT_EQ(recorder.timeOuts.size(), 2u) << "each wait ends once";
    EXPECT_TRUE(recorder.replies.empty());
}

TEST_F(ReplyFramerTest, RepliesInTimeAreNeverCutByTheLimits) {
    // A log that streams for longer than the first-byte limit, in chunks inside its period.
    framer.setCurrentCommand(logCommand::downloadLogs);
    framer.commandWritten();
    const int gap = scaled(10.0) / 2;
    std::vector<std::pair<int, QByteArray>> plan;
    QByteArray all;
    for (int at = 0; at <= scaled(ReplyFramer::firstByteLimitSeconds) + gap; at += gap) {
        plan.emplace_back(at, QByteArray::number(at) + ';');
        all += plan.back().second;
    }
    feedAt(plan);
    ASSERT_TRUE(waitFor([&] { return !recorder.replies.empty(); }));
    EXPECT_EQ(recorder.replies[0].frame, all);

    // A length-framed reply complete in time: its limit must not fire later.
    exchange(logCommand::vesrionInfo, replyFrame(0x01, payloadOf(4)));
    spinFor(scaled(ReplyFramer::lengthFramedReplyLimitSeconds) + 50);
    EXPECT_TRUE(recorder.timeOuts.empty());
    EXPECT_EQ(recorder.replies.size(), 2u);
}

TEST_F(ReplyFramerTest, QuietReplyThatNeverPausesIsCutByTimeOrSize) {
    // A trickle that never pauses long enough ends at the time its size limit allows; a small
    // limit brings that time within reach.
    ReplyFramer small(nullptr, 32 * 1024);
    FramerRecorder trickled(small);
    TimeScale::setFactor(0.005); // quiet 10 s -> 50 ms, total about 43 s -> 214 ms
    const int bound = scaled(ReplyFramer::quietReplyLimitSeconds(
        small.quietReplySizeLimit(), LogCommands::logDataQuietPeriodSeconds));
    small.setCurrentCommand(logCommand::downloadLogs);
    small.commandWritten();
    QTimer trickle;
    trickle.setTimerType(Qt::PreciseTimer);
    QObject::connect(&trickle, &QTimer::timeout, &small, [&] { small.receive("x"); });
    trickle.start(5);
    ASSERT_TRUE(waitFor([&] { return !trickled.timeOuts.empty(); }, bound * 3));
    EXPECT_GE(trickled.timeOuts[0].atMs, bound - 2);
    EXPECT_LT(trickled.timeOuts[0].atMs, bound + 500);
    spinFor(scaled(10.0) * 2); // the trickle goes on: nothing of it is a reply
    trickle.stop();
    EXPECT_EQ(trickled.timeOuts.size(), 1u);
    EXPECT_TRUE(trickled.replies.empty());
    EXPECT_TRUE(trickled.tooLarge.empty());

    // A flood: the largest reply allowed still comes whole, one byte more ends the exchange.
    const QByteArray mebibyte(1 << 20, 'y');
    const qsizetype mebibytes = ReplyFramer::maxQuietReplyBytes / mebibyte.size();
    for (logCommand command : {logCommand::logEnumMapping, logCommand::logTypes}) {
        framer.setCurrentCommand(command);
        framer.commandWritten();
        for (qsizetype i = 0; i < mebibytes; ++i)
            framer.receive(mebibyte);
        if (command == logCommand::logTypes)
            framer.receive("z");
        spinFor(scaled(3.0) * 3);
    }
    ASSERT_EQ(recorder.replies.size(), 1u);
    EXPECT_EQ(recorder.replies[0].frame.size(), ReplyFramer::maxQuietReplyBytes);
    ASSERT_EQ(recorder.tooLarge.size(), 1u);
    EXPECT_EQ(recorder.tooLarge[0].command, logCommand::logTypes);
    EXPECT_EQ(framer.collectedSize(), 0);
    EXPECT_TRUE(recorder.timeOuts.empty());
}

TEST_F(ReplyFramerTest, ReplyAtTheLineSpeedArrivesWholeAfterMoreThanFiveMinutes) {
    // The transmitter sends without a pause, at the line's speed, for 320 s: a log of about
    // 3.7 MB, far inside the size limit, must not be cut by the time limit.
    TimeScale::setFactor(0.01); // quiet 10 s -> 100 ms (room for a busy machine), 320 s -> 3.2 s
    constexpr double streamSeconds = 320.0;
    framer.setCurrentCommand(logCommand::downloadLogs);
    framer.commandWritten();
    QElapsedTimer line;
    line.start();
    qint64 sent = 0;
    QTimer pace;
    pace.setTimerType(Qt::PreciseTimer);
    // What the line has carried by now (in the product's seconds), fed as it is due.
    QObject::connect(&pace, &QTimer::timeout, &framer, [&] {
        const double lineSeconds =
            std::min(line.nsecsElapsed() / 1e9 / TimeScale::factor(), streamSeconds);
        const auto due = static_cast<qint64>(lineSeconds * SerialLine::bytesPerSecond);
        if (due > sent) {
            framer.receive(QByteArray(due - sent, 'L'));
            sent = due;
        }
        if (lineSeconds >= streamSeconds)
            pace.stop();
    });
    pace.start(2);
    ASSERT_TRUE(waitFor([&] { return !recorder.replies.empty() || !recorder.timeOuts.empty(); },
                        scaled(streamSeconds) * 3));
    EXPECT_TRUE(recorder.timeOuts.empty()) << "cut after " << recorder.timeOuts[0].atMs << " ms";
    ASSERT_EQ(recorder.replies.size(), 1u);
    EXPECT_EQ(recorder.replies[0].frame.size(), sent);
    EXPECT_EQ(sent, static_cast<qint64>(streamSeconds * SerialLine::bytesPerSecond));
}

TEST_F(ReplyFramerTest, ResetForgetsCollectedBytesAndStopsEveryTimer) {
    exchange(logCommand::logEnumMapping, "partial");
    framer.reset();
    EXPECT_EQ(framer.collectedSize(), 0);
    EXPECT_FALSE(framer.isAwaitingReply());
    spinFor(scaled(ReplyFramer::firstByteLimitSeconds) + 50);
    EXPECT_TRUE(recorder.replies.empty());
    EXPECT_TRUE(recorder.timeOuts.empty());
}

} // namespace
