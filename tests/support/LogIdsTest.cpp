#include "support/LogIds.h"

#include <QJsonValue>
#include <gtest/gtest.h>

namespace {

TEST(LogIds, NumericValueFollowsStrictSignedDecimal) {
    EXPECT_EQ(LogIds::numericValue(QStringLiteral("10")), 10);
    EXPECT_EQ(LogIds::numericValue(QStringLiteral("+7")), 7);
    EXPECT_EQ(LogIds::numericValue(QStringLiteral("-3")), -3);
    EXPECT_EQ(LogIds::numericValue(QStringLiteral("9223372036854775807")), INT64_MAX);
    EXPECT_EQ(LogIds::numericValue(QStringLiteral("-9223372036854775808")), INT64_MIN);
    // Everything that is not a plain in-range decimal counts as 0.
    for (const char* id : {"9223372036854775808", "abc", " 5", "5 ", "", "+", "-", "1.5", "0x10",
                           "+-1", "\xd9\xa3" /* Arabic-Indic three */}) {
        EXPECT_EQ(LogIds::numericValue(QString::fromUtf8(id)), 0) << id;
    }
}

TEST(LogIds, SortedByNumericValueKeepingTheOrderOfEqualIds) {
    EXPECT_EQ(LogIds::sorted({QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("2")}),
              QStringList({QStringLiteral("2"), QStringLiteral("9"), QStringLiteral("10")}));

    const QStringList mixed = {QStringLiteral("abc"), QStringLiteral("4"),  QStringLiteral("0"),
                               QStringLiteral(" 5"),  QStringLiteral("-3"), QStringLiteral("")};
    EXPECT_EQ(LogIds::sorted(mixed),
              QStringList({QStringLiteral("-3"), QStringLiteral("abc"), QStringLiteral("0"),
                           QStringLiteral(" 5"), QStringLiteral(""), QStringLiteral("4")}));
}

TEST(LogIds, NameTextOfEveryJsonKind) {
    EXPECT_EQ(LogIds::nameText(QJsonValue(QStringLiteral("Glucose \"events\""))),
              QStringLiteral("Glucose \"events\""));
    EXPECT_EQ(LogIds::nameText(QJsonValue(5)), QStringLiteral("5"));
    EXPECT_EQ(LogIds::nameText(QJsonValue(2.5)), QStringLiteral("2.5"));
    EXPECT_EQ(LogIds::nameText(QJsonValue(true)), QStringLiteral("true"));
    EXPECT_EQ(LogIds::nameText(QJsonValue(QJsonValue::Null)), QStringLiteral("null"));
}

TEST(LogIds, ExchangeUrlPutsTheIdWhereEachExchangeWantsIt) {
    const QString base = QStringLiteral("http://h/commlib/api/X/GetCommandBytes");
    EXPECT_EQ(LogIds::exchangeUrl(base, QStringLiteral("7"), logCommand::logInfoMapping),
              base + QStringLiteral("/7"));
    for (logCommand command :
         {logCommand::logHeaderMapping, logCommand::logEnumMapping, logCommand::downloadLogs}) {
        EXPECT_EQ(LogIds::exchangeUrl(base, QStringLiteral("7"), command),
                  base + QStringLiteral("?logType=7"));
    }
}

} // namespace
