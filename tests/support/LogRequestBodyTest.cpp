#include "support/LogRequestBody.h"
#include "models/LogBytes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The body as the cloud receives it.
QJsonObject asJson(const QVariantMap& body) {
    return QJsonDocument::fromJson(QJsonDocument(QJsonObject::fromVariantMap(body)).toJson())
        .object();
}

// The bytes the cloud has always received for such an object.
QByteArray exactly(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

class LogRequestBodyTest : public ::testing::Test {
protected:
    void SetUp() override {
        b.TxInfoBytes = "TXI";
        b.logVersionBytes = "VER";
        b.logLinkStateBytes = "LNK";
        b.logClassMappingBytes = "LCM";
        b.logReadPatientSettingsBytes = "RPS";
        b.logTagClassMappingBytes = "TCM";
        b.logHeaderMappingBytes = "LHM";
        b.logInfoHeaderMappingBytes = "LIM";
        b.logEnumBytes = "ENU";
        b.logDataBytes = "DAT";
        b.logUsageBytesList = {"u1", "u2"};
        b.logTagClassListBytesList = {};
    }
    void TearDown() override { b.logUsageBytesList.clear(); }
    LogBytes& b = LogBytes::shared();
    const ChannelKeys keys{QStringLiteral("pair"), QStringLiteral("token")};
};

TEST_F(LogRequestBodyTest, CommandRequestsCarryTheCounterAsText) {
    EXPECT_EQ(asJson(LogRequestBody::command(keys, 42)),
              (QJsonObject{{u"sessionkeypair"_s, u"pair"_s},
                           {u"secureChannelToken"_s, u"token"_s},
                           {u"Tx_msg_seq_num"_s, u"42"_s}}));
    EXPECT_EQ(asJson(LogRequestBody::logUsageList(keys, 7, b)),
              (QJsonObject{{u"sessionkeypair"_s, u"pair"_s},
                           {u"secureChannelToken"_s, u"token"_s},
                           {u"Tx_msg_seq_num"_s, u"7"_s},
                           {u"logClassMappingResponseBytes"_s, u"LCM"_s}}));
    EXPECT_EQ(asJson(LogRequestBody::tagClassList(keys, 8, b)),
              (QJsonObject{{u"sessionkeypair"_s, u"pair"_s},
                           {u"secureChannelToken"_s, u"token"_s},
                           {u"Tx_msg_seq_num"_s, u"8"_s},
                           {u"bytes"_s, u"TCM"_s}}));
}

TEST_F(LogRequestBodyTest, ReplyRequestsCarryTheirRepliesListsAsArraysAndNoCounter) {
    EXPECT_EQ(
        LogRequestBody::header(keys, b),
        exactly(QJsonObject{{u"sessionkeypair"_s, u"pair"_s},
                            {u"secureChannelToken"_s, u"token"_s},
                            {u"txSensorInfoResponseBytes"_s, u"TXI"_s},
                            {u"versionInfoResponseBytes"_s, u"VER"_s},
                            {u"linkStateResponseBytes"_s, u"LNK"_s},
                            {u"readPatientSettingsResponseBytes"_s, u"RPS"_s},
                            {u"logClassMappingResponseBytes"_s, u"LCM"_s},
                            {u"logUsageMappingResponseBytesList"_s, QJsonArray{u"u1"_s, u"u2"_s}},
                            {u"tagClassMappingResponseBytes"_s, u"TCM"_s},
                            {u"tagClassListResponseBytesList"_s, QJsonArray{}}}));
    EXPECT_EQ(LogRequestBody::logTypesReply(keys, "LT"),
              exactly(QJsonObject{{u"sessionkeypair"_s, u"pair"_s},
                                  {u"secureChannelToken"_s, u"token"_s},
                                  {u"bytes"_s, u"LT"_s}}));
    EXPECT_EQ(LogRequestBody::logDataReply(keys, b, QStringLiteral("Alarms")),
              exactly(QJsonObject{{u"sessionkeypair"_s, u"pair"_s},
                                  {u"secureChannelToken"_s, u"token"_s},
                                  {u"bytes"_s, u"DAT"_s},
                                  {u"logname"_s, u"Alarms"_s},
                                  {u"txSensorInfoResponseBytes"_s, u"TXI"_s},
                                  {u"lhMappingResponseBytes"_s, u"LHM"_s},
                                  {u"lhInfoMappingResponseBytes"_s, u"LIM"_s},
                                  {u"lgEnumMappingResponseBytes"_s, u"ENU"_s}}));
}

} // namespace
