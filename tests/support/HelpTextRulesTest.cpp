#include "support/HelpTextRules.h"

#include <gtest/gtest.h>

using namespace HelpTextRules;

TEST(HelpMessageLimit, CutsPlainTextAtTheLimit) {
    const QString pasted = QStringLiteral("abc").repeated(500); // 1500 characters
    const QString kept = limitedToCharacters(pasted);
    EXPECT_EQ(kept, pasted.left(1000));
    EXPECT_EQ(characterCount(kept), 1000);

    const QString exact = pasted.left(1000);
    EXPECT_EQ(limitedToCharacters(exact), exact);
    EXPECT_EQ(limitedToCharacters(QStringLiteral("short")), QStringLiteral("short"));
    EXPECT_EQ(limitedToCharacters(QString()), QString());
}

TEST(HelpMessageLimit, CountsAndCutsWholeClusters) {
    // A family emoji is five code points joined by zero-width joiners: one character to a user.
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    const QString flag = QStringLiteral("\U0001F1E9\U0001F1EA");
    const QString accented = QStringLiteral("e\u0301");
    const QString thumb = QStringLiteral("\U0001F44D\U0001F3FD"); // with a skin-tone modifier

    for (const QString& cluster : {family, flag, accented, thumb}) {
        SCOPED_TRACE(cluster.toStdString());
        EXPECT_EQ(characterCount(cluster), 1);
        const QString text = cluster.repeated(1001);
        const QString kept = limitedToCharacters(text);
        EXPECT_EQ(characterCount(kept), 1000);
        EXPECT_EQ(kept, cluster.repeated(1000));
    }

    // A mix cut in the middle of a cluster-heavy tail keeps the clusters whole.
    const QString mixed = QStringLiteral("a").repeated(999) + family + family;
    EXPECT_EQ(limitedToCharacters(mixed), QStringLiteral("a").repeated(999) + family);
}

TEST(HelpMessageLimit, CounterText) {
    EXPECT_EQ(counterText(0), QStringLiteral("0 of 1000 Characters"));
    EXPECT_EQ(counterText(1000), QStringLiteral("1000 of 1000 Characters"));
}

TEST(HelpZipFilter, KeepsOnlyAsciiDigits) {
    EXPECT_EQ(digitsOnly(QStringLiteral("12a 3-4")), QStringLiteral("1234"));
    EXPECT_EQ(digitsOnly(QStringLiteral("90210-1234")), QStringLiteral("902101234"));
    // Digits of other scripts are not "0123456789".
    EXPECT_EQ(digitsOnly(QStringLiteral("\u0663\uFF15 7")), QStringLiteral("7"));
    EXPECT_EQ(digitsOnly(QStringLiteral("abc")), QString());
}

TEST(HelpFormEmptiness, MessageIsBlankOnlyWithPlainBlanks) {
    EXPECT_TRUE(isBlankMessage(QString()));
    EXPECT_TRUE(isBlankMessage(QStringLiteral("   ")));
    EXPECT_FALSE(isBlankMessage(QStringLiteral("\n\n")));
    EXPECT_FALSE(isBlankMessage(QStringLiteral("\t")));
    EXPECT_FALSE(isBlankMessage(QStringLiteral("  x  ")));
}

TEST(HelpFormEmptiness, TrimsBlanksAndTabsButNotLineBreaks) {
    EXPECT_EQ(trimmedOfBlanksAndTabs(QStringLiteral(" \tMain St\t ")), QStringLiteral("Main St"));
    EXPECT_EQ(trimmedOfBlanksAndTabs(QStringLiteral("   ")), QString());
    EXPECT_EQ(trimmedOfBlanksAndTabs(QStringLiteral(" \n ")), QStringLiteral("\n"));
    EXPECT_EQ(trimmedOfBlanksAndTabs(QStringLiteral("a b")), QStringLiteral("a b"));
}
