// The product's own periods and limits on the real clock. Each bound is its own case so that
// the cases run side by side; the longest takes the 15 s length-framed limit. The 30 s
// first-byte limit goes through the same timer as that one and is checked at a quarter scale.
#include "FramerRecorder.h"
#include "doubles/WaitFor.h"

#include "platform/TimeScale.h"
#include "support/ReplyFramer.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <ostream>
#include <vector>

namespace {

constexpr qint64 kSlackMs = 600; // timers may run late under load, never early

constexpr qsizetype smallSizeLimit = 64 * 1024;
const qint64 quietReplyLimitMs = std::lround(
    ReplyFramer::quietReplyLimitSeconds(smallSizeLimit, LogCommands::logDataQuietPeriodSeconds) *
    1000 * 0.05);

struct Chunk {
    int atMs; // after the command is written
    QByteArray bytes;
};

struct Outcome {
    QByteArray frame; // empty: the exchange times out
    qint64 afterMs;   // a reply: after the latest chunk before it; a time-out: after the command
};

struct Bound {
    const char* name;
    logCommand command;
    double factor;
    std::vector<Chunk> chunks;
    std::vector<Outcome> outcomes;
    qsizetype sizeLimit = ReplyFramer::maxQuietReplyBytes; // of a quiet-period reply
};

// One byte every gapMs, for untilMs.
std::vector<Chunk> trickle(int untilMs, int gapMs) {
    std::vector<Chunk> chunks;
    for (int at = 0; at < untilMs; at += gapMs)
        chunks.push_back({at, "."});
    return chunks;
}

void PrintTo(const Bound& bound, std::ostream* out) {
    *out << bound.name;
}

class ReplyFramerRealTime : public ::testing::TestWithParam<Bound> {
protected:
    void TearDown() override { TimeScale::setFactor(1.0); }
};

TEST_P(ReplyFramerRealTime, BoundHoldsOnTheRealClock) {
    const Bound& bound = GetParam();
    TimeScale::setFactor(bound.factor);
    ReplyFramer framer(nullptr, bound.sizeLimit);
    FramerRecorder recorder(framer);
    framer.setCurrentCommand(bound.command);
    framer.commandWritten();

    std::vector<qint64> fedAt{0};
    for (const Chunk& chunk : bound.chunks) {
        QTimer::singleShot(chunk.atMs, Qt::PreciseTimer, &framer, [&, bytes = chunk.bytes] {
            fedAt.push_back(recorder.clock.elapsed());
            framer.receive(bytes);
        });
    }
    const qint64 last = bound.chunks.empty() ? 0 : bound.chunks.back().atMs;
    const auto events = [&] { return recorder.replies.size() + recorder.timeOuts.size(); };
    ASSERT_TRUE(waitFor([&] { return events() >= bound.outcomes.size(); },
                        static_cast<int>(last + bound.outcomes.back().afterMs + 5000)));
    spinFor(static_cast<int>(kSlackMs)); // nothing more may follow

    std::vector<std::pair<qint64, QByteArray>> seen; // time, frame (empty for a time-out)
    for (const auto& reply : recorder.replies)
        seen.emplace_back(reply.atMs, reply.frame);
    for (const auto& timeOut : recorder.timeOuts)
        seen.emplace_back(timeOut.atMs, QByteArray());
    std::sort(seen.begin(), seen.end());
    ASSERT_EQ(seen.size(), bound.outcomes.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        const Outcome& want = bound.outcomes[i];
        const auto [at, frame] = seen[i];
        // A limit counts from the command; a quiet period from the latest chunk.
        const qint64 anchor =
            frame.isEmpty() ? 0 : *std::prev(std::upper_bound(fedAt.begin(), fedAt.end(), at));
        EXPECT_EQ(frame, want.frame) << "outcome " << i;
        EXPECT_GE(at - anchor, want.afterMs) << "outcome " << i << " came early";
        EXPECT_LT(at - anchor, want.afterMs + kSlackMs) << "outcome " << i << " came late";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, ReplyFramerRealTime,
    ::testing::Values(
        // 3.0 s quiet period; a 4 s pause ends the reply, and what follows answers nothing.
        Bound{"ShortQuietPeriod",
              logCommand::logHeaderMapping,
              1.0,
              {{0, "first"}, {4000, "second"}},
              {{"first", 3000}}},
        // 10.0 s quiet period: no reply before it has passed in full.
        Bound{"LongQuietPeriod",
              logCommand::downloadLogs,
              1.0,
              {{0, "log-data"}},
              {{"log-data", 10000}}},
        // 15 s limit on a length-framed reply that never completes.
        Bound{"LengthFramedLimit",
              logCommand::linkState,
              1.0,
              {{0, QByteArray("\x01\x0a\x00", 3)}},
              {{{}, 15000}}},
        // 30 s limit on the first byte of a quiet-period reply, at a quarter scale.
        Bound{"FirstByteLimit", logCommand::logTypes, 0.25, {}, {{{}, 7500}}},
        // The limit on a whole quiet-period reply that never pauses, which its size limit and
        // the line's speed decide: for 64 KiB about 46 s, here at a twentieth.
        Bound{"QuietReplyLimit",
              logCommand::downloadLogs,
              0.05,
              trickle(2800, 40),
              {{{}, quietReplyLimitMs}},
              smallSizeLimit}),
    [](const ::testing::TestParamInfo<Bound>& param) { return std::string(param.param.name); });

} // namespace
