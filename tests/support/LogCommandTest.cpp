#include "support/LogCommand.h"

#include <gtest/gtest.h>

namespace {

TEST(LogCommandTable, TwelveCommandsInOrderWithTheirFraming) {
    const auto& all = LogCommands::all();
    ASSERT_EQ(all.size(), 12u);
    EXPECT_EQ(LogCommands::caseName(all.front()), QStringLiteral("vesrionInfo"));
    EXPECT_EQ(LogCommands::caseName(all.back()), QStringLiteral("downloadLogs"));

    for (std::size_t i = 0; i < all.size(); ++i) {
        const LogCommandRule& rule = LogCommands::rule(all[i]);
        SCOPED_TRACE(LogCommands::caseName(all[i]).toStdString());
        if (i <= 6) {
            EXPECT_EQ(rule.framing, ReplyFraming::lengthHeader);
        } else {
            EXPECT_EQ(rule.framing, ReplyFraming::quietPeriod);
            EXPECT_DOUBLE_EQ(rule.quietPeriodSeconds, i == 11 ? 10.0 : 3.0);
        }
    }
    EXPECT_EQ(LogCommands::rule(logCommand::logUsage).destination,
              ReplyDestination::appendedToList);
    EXPECT_EQ(LogCommands::rule(logCommand::tagClassList).destination,
              ReplyDestination::appendedToList);
    EXPECT_EQ(LogCommands::rule(logCommand::logTypes).destination, ReplyDestination::handedOver);
}

TEST(LogCommandTable, ReplyBodyDropsTheHeaderExceptForTheLogMappings) {
    const QByteArray frame("\x07\x02\x00xyTT", 7);
    for (logCommand command : LogCommands::all()) {
        SCOPED_TRACE(LogCommands::caseName(command).toStdString());
        const auto body = LogCommands::replyBody(command, frame);
        ASSERT_TRUE(body);
        const bool keeps = command >= logCommand::logHeaderMapping;
        EXPECT_EQ(*body, keeps ? frame : QByteArray("xyTT"));
    }
    // A log-types reply that ended its quiet period before its header was complete.
    EXPECT_FALSE(LogCommands::replyBody(logCommand::logTypes, QByteArray("\x07\x02", 2)));
    EXPECT_EQ(LogCommands::replyBody(logCommand::logTypes, QByteArray("\x07\x00\x00", 3)),
              QByteArray());
    EXPECT_EQ(LogCommands::replyBody(logCommand::downloadLogs, QByteArray("\x07", 1)),
              QByteArray("\x07", 1));
}

} // namespace
