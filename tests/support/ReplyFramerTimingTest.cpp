// The product's own periods, unscaled, run side by side so the whole check takes about 30 s.
#include "FramerRecorder.h"
#include "doubles/WaitFor.h"

#include "platform/TimeScale.h"
#include "support/ReplyFramer.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr qint64 kSlackMs = 600; // timers may run late under load, never early

TEST(ReplyFramerRealTime, PeriodsAndLimitsHoldUnscaled) {
    TimeScale::setFactor(1.0);

    // 3.0 s quiet period; a 4 s pause splits the reply.
    ReplyFramer shortQuiet;
    FramerRecorder shortRec(shortQuiet);
    shortQuiet.setCurrentCommand(logCommand::logHeaderMapping);
    shortQuiet.commandWritten();
    shortQuiet.receive("first");
    qint64 secondShortChunkAt = 0;
    QTimer::singleShot(4000, Qt::PreciseTimer, &shortQuiet, [&] {
        secondShortChunkAt = shortRec.clock.elapsed();
        shortQuiet.receive("second");
    });

    // 10.0 s quiet period; chunks 9 s apart keep the reply open.
    ReplyFramer longQuiet;
    FramerRecorder longRec(longQuiet);
    longQuiet.setCurrentCommand(logCommand::downloadLogs);
    longQuiet.commandWritten();
    longQuiet.receive("log-");
    qint64 secondLongChunkAt = 0;
    QTimer::singleShot(9000, Qt::PreciseTimer, &longQuiet, [&] {
        secondLongChunkAt = longRec.clock.elapsed();
        longQuiet.receive("data");
    });

    // 15 s limit on a length-framed reply that never completes.
    ReplyFramer lengthLimit;
    FramerRecorder lengthRec(lengthLimit);
    lengthLimit.setCurrentCommand(logCommand::linkState);
    lengthLimit.commandWritten();
    lengthLimit.receive(QByteArray("\x01\x0a\x00", 3));

    // 30 s limit on the first byte of a quiet-period reply.
    ReplyFramer firstByte;
    FramerRecorder firstRec(firstByte);
    firstByte.setCurrentCommand(logCommand::logTypes);
    firstByte.commandWritten();

    ASSERT_TRUE(waitFor([&] { return !firstRec.timeOuts.empty(); }, 30000 + 5000));

    ASSERT_EQ(shortRec.replies.size(), 2u);
    EXPECT_EQ(shortRec.replies[0].frame, QByteArray("first"));
    EXPECT_GE(shortRec.replies[0].atMs, 3000);
    EXPECT_LT(shortRec.replies[0].atMs, 3000 + kSlackMs);
    EXPECT_EQ(shortRec.replies[1].frame, QByteArray("second"));
    EXPECT_GE(secondShortChunkAt, 3000 + 500) << "the pause must outlast the period";
    EXPECT_GE(shortRec.replies[1].atMs, secondShortChunkAt + 3000);

    ASSERT_EQ(longRec.replies.size(), 1u);
    EXPECT_EQ(longRec.replies[0].frame, QByteArray("log-data"));
    EXPECT_LT(secondLongChunkAt, 10000 - 500) << "the pause must stay inside the period";
    EXPECT_GE(longRec.replies[0].atMs, secondLongChunkAt + 10000);
    EXPECT_LT(longRec.replies[0].atMs, secondLongChunkAt + 10000 + kSlackMs);

    ASSERT_EQ(lengthRec.timeOuts.size(), 1u);
    EXPECT_TRUE(lengthRec.replies.empty());
    EXPECT_GE(lengthRec.timeOuts[0].atMs, 15000);
    EXPECT_LT(lengthRec.timeOuts[0].atMs, 15000 + kSlackMs);

    EXPECT_GE(firstRec.timeOuts[0].atMs, 30000);
    EXPECT_LT(firstRec.timeOuts[0].atMs, 30000 + kSlackMs);
    EXPECT_TRUE(firstRec.replies.empty());
}

} // namespace
