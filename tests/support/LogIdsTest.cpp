#include "support/LogIds.h"

#include <QJsonValue>
#include <QUrl>
#include <QUrlQuery>
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

TEST(LogIds, ExchangeUrlKeepsEachIdInsideItsSegmentOrValue) {
    const QString base = QStringLiteral("http://h/commlib/api/X/GetCommandBytes");
    EXPECT_EQ(LogIds::exchangeUrl(base, QStringLiteral("7"), logCommand::logInfoMapping),
              base + QStringLiteral("/7"));
    EXPECT_EQ(LogIds::exchangeUrl(base, QStringLiteral("-12"), logCommand::downloadLogs),
              base + QStringLiteral("?logType=-12"));

    // Whatever the cloud lists, the address stays valid and the id arrives as it was given.
    for (const char* id : {"7", "a/b", "../x", "x?y=1", "a&logType=9", "id#frag", "two words",
                           "100%", "+5", "\xc3\xa9t\xc3\xa9", ""}) {
        const QString given = QString::fromUtf8(id);
        const QUrl segment(LogIds::exchangeUrl(base, given, logCommand::logInfoMapping),
                           QUrl::StrictMode);
        ASSERT_TRUE(segment.isValid()) << id;
        EXPECT_EQ(segment.path(QUrl::FullyEncoded).section(u'/', 0, -2),
                  QUrl(base).path(QUrl::FullyEncoded))
            << id;
        EXPECT_EQ(QUrl::fromPercentEncoding(
                      segment.path(QUrl::FullyEncoded).section(u'/', -1).toLatin1()),
                  given)
            << id;
        EXPECT_FALSE(segment.hasQuery() || segment.hasFragment()) << id;

        for (logCommand command :
             {logCommand::logHeaderMapping, logCommand::logEnumMapping, logCommand::downloadLogs}) {
            const QUrl query(LogIds::exchangeUrl(base, given, command), QUrl::StrictMode);
            ASSERT_TRUE(query.isValid()) << id;
            EXPECT_EQ(query.path(), QUrl(base).path()) << id;
            const QUrlQuery items(query);
            ASSERT_EQ(items.queryItems().size(), 1) << id;
            EXPECT_EQ(items.queryItemValue(QStringLiteral("logType"), QUrl::FullyDecoded), given)
                << id;
            EXPECT_FALSE(query.hasFragment()) << id;
        }
    }
}

} // namespace
