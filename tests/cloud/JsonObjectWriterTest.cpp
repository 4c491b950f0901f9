// The directly written body against the one Qt writes for the same object: they must be the
// same bytes, whatever the texts hold.
#include "cloud/JsonObjectWriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>
#include <gtest/gtest.h>

namespace {

struct Case {
    const char* name;
    QVariantMap members; // QString: text(); QByteArray: bytes(); QByteArrayList: list()
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class JsonObjectWriterTest : public ::testing::TestWithParam<Case> {};

TEST_P(JsonObjectWriterTest, WritesTheSameBytesAsQtDoesForTheObject) {
    JsonObjectWriter writer;
    QVariantMap asQtSeesIt;
    for (auto it = GetParam().members.cbegin(); it != GetParam().members.cend(); ++it) {
        const QVariant& value = it.value();
        if (value.typeId() == QMetaType::QByteArray) {
            writer.bytes(it.key(), value.toByteArray());
            asQtSeesIt.insert(it.key(), QString::fromUtf8(value.toByteArray()));
        } else if (value.typeId() == QMetaType::QByteArrayList) {
            QStringList texts;
            for (const QByteArray& element : value.value<QByteArrayList>())
                texts.append(QString::fromUtf8(element));
            writer.list(it.key(), value.value<QByteArrayList>());
            asQtSeesIt.insert(it.key(), texts);
        } else {
            writer.text(it.key(), value.toString());
            asQtSeesIt.insert(it.key(), value.toString());
        }
    }
    EXPECT_EQ(
        writer.toJson(),
        QJsonDocument(QJsonObject::fromVariantMap(asQtSeesIt)).toJson(QJsonDocument::Compact));
}

QVariant bytes(const char* text) {
    return QByteArray(text);
}

QVariant list(QByteArrayList values) {
    return QVariant::fromValue(values);
}

const QString lone = QString(QChar(0xD800)) + QStringLiteral("x");

INSTANTIATE_TEST_SUITE_P(
    Bodies, JsonObjectWriterTest,
    ::testing::Values(
        Case{"Empty", {}},
        Case{"Base64AndTextInKeyOrder",
             {{QStringLiteral("sessionkeypair"), QStringLiteral("pair")},
              {QStringLiteral("bytes"), bytes("IB8AcmVw+/bHk=")},
              {QStringLiteral("Tx_msg_seq_num"), QStringLiteral("42")},
              {QStringLiteral("logname"), QStringLiteral("Alarms")}}},
        Case{"EmptyValues", {{QStringLiteral("a"), bytes("")}, {QStringLiteral("b"), QString()}}},
        Case{"Escapes",
             {{QStringLiteral("quote"), QStringLiteral("say \"hi\"")},
              {QStringLiteral("backslash"), bytes("C:\\logs\\")},
              {QStringLiteral("controls"), bytes("a\nb\tc\rd\be\ff\x01g\x1f")},
              {QStringLiteral("delete"), bytes("x\x7fy")},
              {QStringLiteral("slash"), QStringLiteral("a/b")}}},
        Case{"LongValuesWithTheOddByteAnywhere",
             {{QStringLiteral("plain"), bytes("QUJDREVGR0hJSktMTU5PUFFSU1RVVldY+/==")},
              {QStringLiteral("quote"), bytes("ABCDEFGHI\"KLMNOPQRS")},
              {QStringLiteral("control"), bytes("ABCDEFGHIJKLMNOP\x01RS")},
              {QStringLiteral("delete"), bytes("ABCDEFGHIJK\x7fMNOPQ")},
              {QStringLiteral("utf8"), bytes("ABCDEFGHIJ\xc3\xa9KLMNOPQR")},
              {QStringLiteral("backslash"), bytes("ABCDEFGHIJKLMNOPQRSTUV\\")}}},
        Case{"BeyondAscii",
             {{QStringLiteral("accent"), QStringLiteral("Caf\u00e9 \u00fc")},
              {QStringLiteral("emoji"), QString::fromUtf8("\xF0\x9F\x98\x80")},
              {QStringLiteral("loneSurrogate"), lone},
              {QStringLiteral("k\u00e9y \"q\""), QStringLiteral("v")}}},
        Case{"Lists",
             {{QStringLiteral("none"), list({})},
              {QStringLiteral("one"), list({"u1"})},
              {QStringLiteral("several"), list({"u1", "", "with \"quote\"", "u\n4"})}}}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

} // namespace
