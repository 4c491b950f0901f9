#include "transmitter/ORSSerialPortHandler.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using Handler = ORSSerialPortHandler;

TEST(TransmitterBase64, EncodesIntegerBytesAsPaddedStandardBase64) {
    EXPECT_EQ(Handler::getBase64String(QList<int>{}), QString());
    EXPECT_EQ(Handler::getBase64String(QList<int>{0x41}), QStringLiteral("QQ=="));
    EXPECT_EQ(Handler::getBase64String(QList<int>{0x41, 0x42}), QStringLiteral("QUI="));
    EXPECT_EQ(Handler::getBase64String(QList<int>{0xfb, 0xff, 0xbf}), QStringLiteral("+/+/"));
    // Long input: still one line.
    EXPECT_FALSE(Handler::getBase64String(QList<int>(300, 7)).contains(QLatin1Char('\n')));
}

TEST(TransmitterBase64, RefusesValuesThatAreNotBytes) {
    EXPECT_TRUE(Handler::getBase64String(QList<int>{1, 256}).isEmpty());
    EXPECT_TRUE(Handler::getBase64String(QList<int>{-1, 2}).isEmpty());
}

TEST(TransmitterBase64, EveryByteValueSurvivesARoundTrip) {
    QList<int> all;
    for (int value = 0; value < 256; ++value)
        all.append(value);
    const auto decoded = Handler::decodeBase64(Handler::getBase64String(all));
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->size(), 256);
    for (int value = 0; value < 256; ++value)
        EXPECT_EQ(static_cast<unsigned char>(decoded->at(value)), value);

    // Every length class (padding 0, 1 and 2) with random content.
    QRandomGenerator random(20240601);
    for (int length = 1; length <= 40; ++length) {
        QByteArray bytes(length, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random.bounded(256));
        EXPECT_EQ(Handler::decodeBase64(Handler::getBase64String(bytes)), bytes) << length;
    }
}

TEST(TransmitterBase64, DecodingIsStrict) {
    EXPECT_EQ(Handler::decodeBase64(QStringLiteral("QUJD")), QByteArray("ABC"));
    EXPECT_EQ(Handler::decodeBase64(QStringLiteral("QUI=")), QByteArray("AB"));
    EXPECT_EQ(Handler::decodeBase64(QStringLiteral("QQ==")), QByteArray("A"));
    EXPECT_EQ(Handler::decodeBase64(QString()), QByteArray());

    const QStringList invalid = {
        QStringLiteral("Q"),         // a lone character decodes to nothing
        QStringLiteral("QQ"),        // padding missing
        QStringLiteral("QQ="),       // padding short
        QStringLiteral("QQ=A"),      // data after padding
        QStringLiteral("QQ==QQ=="),  // padding in the middle
        QStringLiteral("QU JD"),     // white space
        QStringLiteral("QUJD\n"),    // line break
        QStringLiteral("QU-_"),      // URL-safe alphabet
        QStringLiteral("QUJD!"),     // not base64 at all
        QStringLiteral("QUJ\u00e9"), // non-ASCII
        QStringLiteral("===="),
    };
    for (const QString& text : invalid)
        EXPECT_FALSE(Handler::decodeBase64(text).has_value()) << text.toStdString();
}

TEST(TransmitterBase64, LongCommandsAreCheckedInOnePass) {
    // Several megabytes, well past where a backtracking pattern gives up; each broken variant
    // differs from the valid text in one place only, near its end.
    QByteArray bytes(6 * 1024 * 1024 + 1, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 131) & 0xff);
    const QString valid = Handler::getBase64String(bytes);
    ASSERT_TRUE(valid.endsWith(QStringLiteral("==")));
    const QString body = valid.chopped(2);

    struct Case {
        const char* name;
        QString text;
        bool accepted;
    };
    const Case cases[] = {
        {"valid", valid, true},
        {"padding missing", body, false},
        {"padding inside",
         body.left(8) + QStringLiteral("==") + body.mid(10) + QStringLiteral("=="), false},
        {"character outside the alphabet", body.chopped(1) + QStringLiteral("*=="), false},
        {"line break", body.left(76) + u'\n' + body.mid(77) + QStringLiteral("=="), false},
        {"three padding characters", body.chopped(1) + QStringLiteral("==="), false},
    };
    for (const Case& c : cases) {
        const std::optional<QByteArray> decoded = Handler::decodeBase64(c.text);
        EXPECT_EQ(decoded.has_value(), c.accepted) << c.name;
        if (c.accepted && decoded) {
            EXPECT_EQ(*decoded, bytes) << c.name;
        }
    }
}
