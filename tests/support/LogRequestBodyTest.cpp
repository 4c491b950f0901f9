#include "support/LogRequestBody.h"
#include "models/LogBytes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

// The body as the cloud receives it.
QJsonObject asJson(const QVariantMap& body) {
    return QJsonDocument::fromJson(QJsonDocument(QJsonObject::fromVariantMap(body)).toJson())
        .object();
}

QStringList sortedKeys(const QJsonObject& object) {
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

class LogRequestBodyTest : public ::testing::Test {
protected:
    void SetUp() override {
        b.TxInfoBytes = QStringLiteral("TXI");
        b.logVersionBytes = QStringLiteral("VER");
        b.logLinkStateBytes = QStringLiteral("LNK");
        b.logClassMappingBytes = QStringLiteral("LCM");
        b.logReadPatientSettingsBytes = QStringLiteral("RPS");
        b.logTagClassMappingBytes = QStringLiteral("TCM");
        b.logHeaderMappingBytes = QStringLiteral("LHM");
        b.logInfoHeaderMappingBytes = QStringLiteral("LIM");
        b.logEnumBytes = QStringLiteral("ENU");
        b.logDataBytes = QStringLiteral("DAT");
        b.logUsageBytesList = {QStringLiteral("u1"), QStringLiteral("u2")};
        b.logTagClassListBytesList = {};
    }
    void TearDown() override {
        b.logUsageBytesList.clear();
        b.logTagClassListBytesList.clear();
    }
    LogBytes& b = LogBytes::shared();
    const ChannelKeys keys{QStringLiteral("pair"), QStringLiteral("token")};
};

TEST_F(LogRequestBodyTest, CommandRequestsCarryTheCounterAsText) {
    const QJsonObject command = asJson(LogRequestBody::command(keys, 42));
    EXPECT_EQ(sortedKeys(command),
              QStringList({QStringLiteral("Tx_msg_seq_num"), QStringLiteral("secureChannelToken"),
                           QStringLiteral("sessionkeypair")}));
    EXPECT_EQ(command.value(QStringLiteral("Tx_msg_seq_num")), QJsonValue(QStringLiteral("42")));
    EXPECT_EQ(command.value(QStringLiteral("sessionkeypair")), QJsonValue(QStringLiteral("pair")));

    const QJsonObject usage = asJson(LogRequestBody::logUsageList(keys, 7, b));
    EXPECT_EQ(usage.size(), 4);
    EXPECT_EQ(usage.value(QStringLiteral("logClassMappingResponseBytes")).toString(), u"LCM");
    EXPECT_EQ(usage.value(QStringLiteral("Tx_msg_seq_num")).toString(), u"7");

    const QJsonObject tagClass = asJson(LogRequestBody::tagClassList(keys, 8, b));
    EXPECT_EQ(tagClass.size(), 4);
    EXPECT_EQ(tagClass.value(QStringLiteral("bytes")).toString(), u"TCM");
}

TEST_F(LogRequestBodyTest, HeaderRequestHasExactlyTheTenMembers) {
    const QJsonObject header = asJson(LogRequestBody::header(keys, b));
    EXPECT_EQ(sortedKeys(header),
              QStringList({QStringLiteral("linkStateResponseBytes"),
                           QStringLiteral("logClassMappingResponseBytes"),
                           QStringLiteral("logUsageMappingResponseBytesList"),
                           QStringLiteral("readPatientSettingsResponseBytes"),
                           QStringLiteral("secureChannelToken"), QStringLiteral("sessionkeypair"),
                           QStringLiteral("tagClassListResponseBytesList"),
                           QStringLiteral("tagClassMappingResponseBytes"),
                           QStringLiteral("txSensorInfoResponseBytes"),
                           QStringLiteral("versionInfoResponseBytes")}));
    EXPECT_EQ(header.value(QStringLiteral("logUsageMappingResponseBytesList")).toArray(),
              QJsonArray({QStringLiteral("u1"), QStringLiteral("u2")}));
    // An empty list still travels, as an empty array.
    const QJsonValue tagList = header.value(QStringLiteral("tagClassListResponseBytesList"));
    ASSERT_TRUE(tagList.isArray());
    EXPECT_TRUE(tagList.toArray().isEmpty());
    EXPECT_EQ(header.value(QStringLiteral("txSensorInfoResponseBytes")).toString(), u"TXI");
    EXPECT_EQ(header.value(QStringLiteral("versionInfoResponseBytes")).toString(), u"VER");
    EXPECT_EQ(header.value(QStringLiteral("linkStateResponseBytes")).toString(), u"LNK");
    EXPECT_EQ(header.value(QStringLiteral("readPatientSettingsResponseBytes")).toString(), u"RPS");
    EXPECT_EQ(header.value(QStringLiteral("tagClassMappingResponseBytes")).toString(), u"TCM");
}

TEST_F(LogRequestBodyTest, ReplyRequestsCarryTheirRepliesAndNoCounter) {
    const QJsonObject types = asJson(LogRequestBody::logTypesReply(keys, QStringLiteral("LT")));
    EXPECT_EQ(sortedKeys(types),
              QStringList({QStringLiteral("bytes"), QStringLiteral("secureChannelToken"),
                           QStringLiteral("sessionkeypair")}));
    EXPECT_EQ(types.value(QStringLiteral("bytes")).toString(), u"LT");

    const QJsonObject data =
        asJson(LogRequestBody::logDataReply(keys, b, QStringLiteral("Alarms")));
    EXPECT_EQ(data.size(), 8);
    EXPECT_FALSE(data.contains(QStringLiteral("Tx_msg_seq_num")));
    EXPECT_EQ(data.value(QStringLiteral("bytes")).toString(), u"DAT");
    EXPECT_EQ(data.value(QStringLiteral("logname")).toString(), u"Alarms");
    EXPECT_EQ(data.value(QStringLiteral("txSensorInfoResponseBytes")).toString(), u"TXI");
    EXPECT_EQ(data.value(QStringLiteral("lhMappingResponseBytes")).toString(), u"LHM");
    EXPECT_EQ(data.value(QStringLiteral("lhInfoMappingResponseBytes")).toString(), u"LIM");
    EXPECT_EQ(data.value(QStringLiteral("lgEnumMappingResponseBytes")).toString(), u"ENU");
}

} // namespace
