#include "FramerRecorder.h"
#include "doubles/WaitFor.h"

#include "platform/TimeScale.h"
#include "support/ReplyFramer.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

// 3.0 s -> 60 ms, 10.0 s -> 200 ms, 15 s -> 300 ms, 30 s -> 600 ms.
constexpr double kScale = 0.02;
int scaled(double seconds) {
    return TimeScale::milliseconds(seconds);
}

class ReplyFramerTest : public ::testing::Test {
protected:
    void SetUp() override { TimeScale::setFactor(kScale); }
    void TearDown() override { TimeScale::setFactor(1.0); }

    ReplyFramer framer;
    FramerRecorder recorder{framer};

    // Writes a command and lets the given bytes arrive in one chunk.
    void exchange(logCommand command, const QByteArray& reply) {
        framer.setCurrentCommand(command);
        framer.commandWritten();
        framer.receive(reply);
    }

    // Feeds chunks at the given offsets (ms from now) through the event loop.
    void feedAt(const std::vector<std::pair<int, QByteArray>>& plan) {
        for (const auto& [at, chunk] : plan)
            QTimer::singleShot(at, &framer, [this, bytes = chunk] { framer.receive(bytes); });
    }
};

QByteArray payloadOf(int size, char seed = 'a') {
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>(seed + i));
    return bytes;
}

TEST_F(ReplyFramerTest, LengthHeaderSplitAcrossChunksCompletesWhenTheLengthIsMet) {
    const QByteArray frame = replyFrame(0x21, payloadOf(10));
    framer.setCurrentCommand(logCommand::linkState);
    framer.commandWritten();

    framer.receive(frame.left(2));
    EXPECT_TRUE(recorder.replies.empty()) << "two bytes hold no length yet";
    framer.receive(frame.mid(2, 1));
    EXPECT_TRUE(recorder.replies.empty()) << "header alone is not the reply";
    EXPECT_EQ(framer.collectedSize(), 3);

    framer.receive(frame.mid(3));
    ASSERT_EQ(recorder.replies.size(), 1u);
    EXPECT_EQ(recorder.replies[0].command, logCommand::linkState);
    EXPECT_EQ(recorder.replies[0].frame, frame);
    EXPECT_EQ(LogCommands::replyBody(logCommand::linkState, frame), payloadOf(10));
    EXPECT_EQ(framer.collectedSize(), 0);
    EXPECT_FALSE(framer.isAwaitingReply());
}

TEST_F(ReplyFramerTest, HeaderOnlyAndTwoByteLengthsAreHonoured) {
    framer.setCurrentCommand(logCommand::patientSettings);
    framer.receive(replyFrame(0x05, {}));
    ASSERT_EQ(recorder.replies.size(), 1u);
    EXPECT_EQ(recorder.replies[0].frame.size(), 3);

    // 300 bytes: the high length byte counts 256.
    const QByteArray big = replyFrame(0x06, QByteArray(300, 'x'));
    framer.receive(big.left(258));
    framer.receive(big.mid(258, 44));
    EXPECT_EQ(recorder.replies.size(), 1u) << "302 bytes must not satisfy a length of 300";
    framer.receive(big.mid(302));
    ASSERT_EQ(recorder.replies.size(), 2u);
    EXPECT_EQ(recorder.replies[1].frame, big);
}

TEST_F(ReplyFramerTest, CompletingChunkWithExtraBytesKeepsThemInThatReplyOnly) {
    // Length 10 but 15 bytes in one chunk: the two bytes past the length go with the reply.
    const QByteArray chunk = replyFrame(0x01, payloadOf(10)) + QByteArray("\xAA\xBB", 2);
    exchange(logCommand::vesrionInfo, chunk);

    ASSERT_EQ(recorder.replies.size(), 1u);
    EXPECT_EQ(recorder.replies[0].frame, chunk);
    const auto body = LogCommands::replyBody(logCommand::vesrionInfo, chunk);
    ASSERT_TRUE(body);
    EXPECT_EQ(body->size(), 12);
    EXPECT_EQ(framer.collectedSize(), 0) << "nothing is carried over to the next exchange";

    const QByteArray next = replyFrame(0x02, payloadOf(4, 'k'));
    exchange(logCommand::linkState, next);
    ASSERT_EQ(recorder.replies.size(), 2u);
    EXPECT_EQ(recorder.replies[1].frame, next);
}

TEST_F(ReplyFramerTest, StrayBytesBeforeTheNextCommandDoNotCorruptItsReply) {
    exchange(logCommand::logClassMapping, replyFrame(0x03, payloadOf(6)));
    // The frame's trailing bytes come late, in a chunk of their own.
    framer.receive(QByteArray("\x11\x22", 2));
    ASSERT_EQ(recorder.replies.size(), 1u);

    const QByteArray next = replyFrame(0x04, payloadOf(20, 'A'));
    exchange(logCommand::patientSettings, next);
    ASSERT_EQ(recorder.replies.size(), 2u);
    EXPECT_EQ(recorder.replies[1].frame, next);
}

TEST_F(ReplyFramerTest, SecondReplyToAListedCommandIsStillHandedOut) {
    framer.setCurrentCommand(logCommand::logUsage);
    framer.commandWritten();
    const QByteArray first = replyFrame(0x10, payloadOf(3));
    const QByteArray second = replyFrame(0x10, payloadOf(5));
    framer.receive(first);
    framer.receive(second);
    ASSERT_EQ(recorder.replies.size(), 2u);
    EXPECT_EQ(recorder.replies[0].frame, first);
    EXPECT_EQ(recorder.replies[1].frame, second);
    EXPECT_EQ(recorder.replies[1].command, logCommand::logUsage);
}

TEST_F(ReplyFramerTest, ListenerMayWriteTheNextCommandWhileBeingToldOfAReply) {
    QObject::connect(&framer, &ReplyFramer::replyReady, &framer, [this](logCommand command) {
        if (command == logCommand::tagClassList && recorder.replies.size() == 1)
            framer.commandWritten(); // next listed command written from inside the callback
    });
    framer.setCurrentCommand(logCommand::tagClassList);
    framer.commandWritten();
    framer.receive(replyFrame(0x07, payloadOf(2)));
    EXPECT_TRUE(framer.isAwaitingReply()) << "the new command's wait must stay bounded";

    const QByteArray second = replyFrame(0x07, payloadOf(9));
    framer.receive(second.left(4));
    framer.receive(second.mid(4));
    ASSERT_EQ(recorder.replies.size(), 2u);
    EXPECT_EQ(recorder.replies[1].frame, second);
}

TEST_F(ReplyFramerTest, EachChunkRestartsTheQuietPeriod) {
    framer.setCurrentCommand(logCommand::downloadLogs);
    framer.commandWritten();
    const int gap = scaled(10.0) * 2 / 5; // well inside the period
    feedAt({{0, "ab"}, {gap, "cd"}, {2 * gap, "ef"}, {3 * gap, "gh"}});

    ASSERT_TRUE(waitFor([&] { return !recorder.replies.empty(); }, 5000));
    spinFor(scaled(10.0));
    ASSERT_EQ(recorder.replies.size(), 1u) << "no chunk may end the reply early";
    EXPECT_EQ(recorder.replies[0].frame, QByteArray("abcdefgh"));
    EXPECT_EQ(recorder.replies[0].command, logCommand::downloadLogs);
    EXPECT_GE(recorder.replies[0].atMs, 3 * gap + scaled(10.0) - 2);
}

TEST_F(ReplyFramerTest, PauseLongerThanTheShortPeriodSplitsTheReply) {
    framer.setCurrentCommand(logCommand::logHeaderMapping);
    framer.commandWritten();
    // A 4-second pause under a 3-second command.
    feedAt({{0, "\x01\x02\x03head"}, {scaled(4.0), "tail"}});

    ASSERT_TRUE(waitFor([&] { return recorder.replies.size() == 2; }, 5000));
    EXPECT_EQ(recorder.replies[0].frame, QByteArray("\x01\x02\x03head"));
    EXPECT_EQ(recorder.replies[1].frame, QByteArray("tail"));
    EXPECT_TRUE(recorder.timeOuts.empty());
}

TEST_F(ReplyFramerTest, SilentTransmitterEndsALengthFramedExchange) {
    framer.setCurrentCommand(logCommand::tagClassMapping);
    framer.commandWritten();
    framer.receive(replyFrame(0x09, payloadOf(10)).left(6)); // an incomplete reply

    ASSERT_TRUE(waitFor([&] { return !recorder.timeOuts.empty(); }, 5000));
    EXPECT_EQ(recorder.timeOuts[0].command, logCommand::tagClassMapping);
    EXPECT_GE(recorder.timeOuts[0].atMs, scaled(ReplyFramer::lengthFramedReplyLimitSeconds) - 2);
    EXPECT_TRUE(recorder.replies.empty());
    EXPECT_EQ(framer.collectedSize(), 0) << "a failed exchange leaves nothing behind";
    spinFor(scaled(ReplyFramer::lengthFramedReplyLimitSeconds));
    EXPECT_EQ(recorder.timeOuts.size(), 1u);
}

TEST_F(ReplyFramerTest, QuietReplyMustBeginWithinTheFirstByteLimit) {
    framer.setCurrentCommand(logCommand::logTypes);
    framer.commandWritten();
    ASSERT_TRUE(waitFor([&] { return !recorder.timeOuts.empty(); }, 5000));
    EXPECT_EQ(recorder.timeOuts[0].command, logCommand::logTypes);
    EXPECT_GE(recorder.timeOuts[0].atMs, scaled(ReplyFramer::firstByteLimitSeconds) - 2);
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
        const QByteArray chunk = QByteArray::number(at) + ';';
        plan.emplace_back(at, chunk);
        all += chunk;
    }
    feedAt(plan);
    ASSERT_TRUE(waitFor([&] { return !recorder.replies.empty(); }, 5000));
    EXPECT_EQ(recorder.replies[0].frame, all);

    // A length-framed reply complete in time: its limit must not fire later.
    exchange(logCommand::vesrionInfo, replyFrame(0x01, payloadOf(4)));
    spinFor(scaled(ReplyFramer::lengthFramedReplyLimitSeconds) + 50);
    EXPECT_TRUE(recorder.timeOuts.empty());
    EXPECT_EQ(recorder.replies.size(), 2u);
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
