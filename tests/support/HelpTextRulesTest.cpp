#include "support/HelpTextRules.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace HelpTextRules;

TEST(HelpTextRules, CutsAfterTheLimitAndKeepsClustersWhole) {
    const QString plain = u"abc"_s.repeated(500);
    EXPECT_EQ(limitedToCharacters(plain), plain.left(1000));
    EXPECT_EQ(limitedToCharacters(plain.left(1000)), plain.left(1000));
    EXPECT_EQ(limitedToCharacters(QString()), QString());

    // Each of these is one character to a user, however many code units it takes.
    for (const QString& cluster : {u"\U0001F468\u200D\U0001F469\u200D\U0001F467"_s, // family
                                   u"\U0001F1E9\U0001F1EA"_s,                       // flag
                                   u"e\u0301"_s,                 // combining accent
                                   u"\U0001F44D\U0001F3FD"_s}) { // skin tone
        SCOPED_TRACE(cluster.toStdString());
        EXPECT_EQ(characterCount(cluster.repeated(7)), 7);
        EXPECT_EQ(limitedToCharacters(cluster.repeated(1001)), cluster.repeated(1000));
    }
    EXPECT_EQ(counterText(1000), u"1000 of 1000 Characters"_s);
}

TEST(HelpTextRules, ZipKeepsAsciiDigitsOnly) {
    EXPECT_EQ(digitsOnly(u"12a 3-4"_s), u"1234"_s);
    EXPECT_EQ(digitsOnly(u"\u0663\uFF15 7"_s), u"7"_s); // other scripts
}

TEST(HelpTextRules, OnlyBlanksMakeAMessageEmptyAndOnlyBlanksAndTabsAreTrimmed) {
    EXPECT_TRUE(isBlankMessage(u"   "_s));
    EXPECT_TRUE(isBlankMessage(QString()));
    EXPECT_FALSE(isBlankMessage(u"\n\n"_s));
    EXPECT_FALSE(isBlankMessage(u"\t"_s));
    EXPECT_EQ(trimmedOfBlanksAndTabs(u" \tMain St\t "_s), u"Main St"_s);
    EXPECT_EQ(trimmedOfBlanksAndTabs(u" \n "_s), u"\n"_s);
}
