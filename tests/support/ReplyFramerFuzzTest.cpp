// However the serial port happens to cut the stream, the same replies must come out.
#include "FramerRecorder.h"
#include "doubles/WaitFor.h"

#include "platform/TimeScale.h"
#include "support/ReplyFramer.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<QByteArray> randomSplit(const QByteArray& bytes, std::mt19937& rng) {
    std::vector<QByteArray> chunks;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype left = bytes.size() - at;
        // Small pieces (headers get cut), larger ones, now and then the whole rest.
        const qsizetype largest = (rng() % 2 == 0) ? 8 : 512;
        std::uniform_int_distribution<qsizetype> piece(1, std::min(left, largest));
        const qsizetype size = (rng() % 20 == 0) ? left : piece(rng);
        chunks.push_back(bytes.mid(at, size));
        at += size;
    }
    return chunks;
}

QByteArray randomBytes(int size, std::mt19937& rng) {
    QByteArray bytes(size, '\0');
    for (auto& b : bytes)
        b = static_cast<char>(rng() & 0xff);
    return bytes;
}

TEST(ReplyFramerFuzz, RandomSplitsOfLengthFramedRepliesYieldTheSameFrames) {
    std::mt19937 rng(20240611);
    const std::vector<logCommand> lengthFramed = {
        logCommand::vesrionInfo, logCommand::linkState,       logCommand::logClassMapping,
        logCommand::logUsage,    logCommand::patientSettings, logCommand::tagClassMapping,
        logCommand::tagClassList};

    for (int iteration = 0; iteration < 4000; ++iteration) {
        ReplyFramer framer;
        FramerRecorder recorder(framer);
        const logCommand command = lengthFramed[rng() % lengthFramed.size()];
        framer.setCurrentCommand(command);

        // One to four exchanges in a row, each reply cut at random.
        const int exchanges = 1 + static_cast<int>(rng() % 4);
        std::vector<QByteArray> expected;
        for (int e = 0; e < exchanges; ++e) {
            const int size = (rng() % 10 == 0) ? 256 + static_cast<int>(rng() % 2000)
                                               : static_cast<int>(rng() % 64);
            const QByteArray frame = replyFrame(static_cast<quint8>(rng()), randomBytes(size, rng));
            expected.push_back(frame);
            framer.commandWritten();
            const auto chunks = randomSplit(frame, rng);
            for (std::size_t c = 0; c < chunks.size(); ++c) {
                ASSERT_EQ(recorder.replies.size(), static_cast<std::size_t>(e))
                    << "reply handed out before its last byte, iteration " << iteration;
                framer.receive(chunks[c]);
            }
        }
        ASSERT_EQ(recorder.replies.size(), expected.size()) << "iteration " << iteration;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(recorder.replies[i].frame, expected[i]) << "iteration " << iteration;
            ASSERT_EQ(recorder.replies[i].command, command);
        }
        ASSERT_EQ(framer.collectedSize(), 0);
    }
}

TEST(ReplyFramerFuzz, RandomSplitsOfAQuietReplyYieldOneReply) {
    TimeScale::setFactor(0.002); // 3.0 s -> 6 ms
    std::mt19937 rng(77);
    for (int iteration = 0; iteration < 40; ++iteration) {
        ReplyFramer framer;
        FramerRecorder recorder(framer);
        framer.setCurrentCommand(logCommand::logEnumMapping);
        framer.commandWritten();
        const QByteArray reply = randomBytes(1 + static_cast<int>(rng() % 500), rng);
        for (const QByteArray& chunk : randomSplit(reply, rng))
            framer.receive(chunk);
        ASSERT_TRUE(waitFor([&] { return !recorder.replies.empty(); }, 2000));
        spinFor(10);
        ASSERT_EQ(recorder.replies.size(), 1u);
        ASSERT_EQ(recorder.replies[0].frame, reply);
    }
    TimeScale::setFactor(1.0);
}

} // namespace
