#include "support/HeaderVersion.h"
#include "platform/BundleInfo.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const std::optional<QString> kVersion = QStringLiteral("1.4");

TEST(HeaderVersion, EveryEntryGetsTheApplicationVersion) {
    EXPECT_EQ(replaceTMVersion(QStringLiteral("TMVERSION,2.1.0,abc\nTMVERSION,7"), kVersion),
              QStringLiteral("QXJVERSION,1.4,abc\nQXJVERSION,1.4"));
    // A match may start inside a longer word.
    EXPECT_EQ(replaceTMVersion(QStringLiteral("XTMVERSION,3.2"), kVersion),
              QStringLiteral("XQXJVERSION,1.4"));
    EXPECT_EQ(replaceTMVersion(QStringLiteral("a,TMVERSION,..,b"), kVersion),
              QStringLiteral("a,QXJVERSION,1.4,b"));
}

TEST(HeaderVersion, TextThatIsNotAVersionEntryIsLeftAlone) {
    for (const char* csv : {"TMVERSION,abc", "TMVERSION 12", "TMVERSION,", "tmversion,1.2",
                            "Serial,123\nModel,X\n"}) {
        EXPECT_EQ(replaceTMVersion(QString::fromUtf8(csv), kVersion), QString::fromUtf8(csv));
    }
}

TEST(HeaderVersion, WithoutAVersionOnlyTheEntriesChange) {
    const QString csv = QStringLiteral("Serial,T1\nTMVERSION,2.1.0,x\nModel,TMVERSION,9\n");
    const QString expected =
        QStringLiteral("Serial,T1\nQXJVERSION,x.x.x,x\nModel,QXJVERSION,x.x.x\n");
    EXPECT_EQ(replaceTMVersion(csv, std::nullopt), expected);
    EXPECT_EQ(replaceTMVersion(csv, QString()), expected);
}

TEST(HeaderVersion, VersionIsInsertedLiterallyAndOtherTextSurvives) {
    EXPECT_EQ(replaceTMVersion(QStringLiteral("TMVERSION,1"), QStringLiteral("\\1$1&")),
              QStringLiteral("QXJVERSION,\\1$1&"));
    // Characters outside the basic plane around a match, and digits of other scripts.
    EXPECT_EQ(replaceTMVersion(QStringLiteral("😀TMVERSION,1.0😀é"), kVersion),
              QStringLiteral("😀QXJVERSION,1.4😀é"));
    EXPECT_EQ(replaceTMVersion(QStringLiteral("TMVERSION,٣.٤;"), kVersion),
              QStringLiteral("QXJVERSION,1.4;"));
}

TEST(HeaderVersion, VersionComesFromTheInformationFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto useInfo = [&](const QByteArray& json) {
        const QString path = dir.filePath(QString::number(qHash(json)) + QStringLiteral(".json"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
        file.close();
        BundleInfo::setFilePath(path);
    };
    const QString csv = QStringLiteral("A,1\nTMVERSION,0.9\n");

    useInfo(R"({"CFBundleShortVersionString":"2.3.1"})");
    EXPECT_EQ(replaceTMVersion(csv), QStringLiteral("A,1\nQXJVERSION,2.3.1\n"));
    useInfo(R"({"CFBundleVersion":"7"})");
    EXPECT_EQ(replaceTMVersion(csv), QStringLiteral("A,1\nQXJVERSION,x.x.x\n"));
    BundleInfo::setFilePath({});
}

} // namespace
