// The simulator's script and information file, over a real loopback cloud and pseudo-terminal.
#include "doubles/SimScript.h"
#include "core/AppConstants.h"
#include "core/Configuration.h"
#include "doubles/LoopbackCloud.h"
#include "doubles/PtyTransmitter.h"
#include "doubles/SimInfoFile.h"
#include "doubles/WaitFor.h"
#include "models/EuaMessage.h"
#include "platform/BundleInfo.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSerialPort>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString repositoryFile(const QString& relative) {
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(u"../../"_s + relative);
}

struct Answer {
    int status = 0;
    QByteArray body;
};

Answer request(const QString& method, const QString& url) {
    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(url)};
    QNetworkReply* reply = manager.sendCustomRequest(request, method.toLatin1());
    waitFor([&] { return reply->isFinished(); });
    Answer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                  reply->readAll()};
    reply->deleteLater();
    return answer;
}

QJsonObject parse(const char* json) {
    return QJsonDocument::fromJson(json).object();
}

class SimScriptTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(transmitter.open()); }

    LoopbackCloud cloud;
    PtyTransmitter transmitter;
};

} // namespace

TEST_F(SimScriptTest, TheShippedScriptServesAStrictCatalogueWithEveryCodeTheScreensUse) {
    QString error;
    const std::optional<QJsonObject> script =
        SimScript::read(repositoryFile(u"tools/sim-script.json"_s), &error);
    ASSERT_TRUE(script.has_value()) << error.toStdString();
    ASSERT_EQ(SimScript::apply(*script, cloud, transmitter), std::nullopt);

    const Answer answer =
        request(u"GET"_s, cloud.url(AppConstants::API::Host::path::getEuaMessages));
    ASSERT_EQ(answer.status, 200);
    const auto catalogue = JsonDecoder::decodeArray<StructEuaMessage>(answer.body);
    ASSERT_TRUE(catalogue.ok()) << catalogue.error().toStdString();
    for (const char* code :
         {"5000021", "5000025", "5000027", "5000032", "5000051", "5000052", "5000058", "7000008",
          "7000011", "8000003", "8000008", "8000017", "8000018", "8000019"}) {
        SCOPED_TRACE(code);
        const auto entry = findEuaMessage(catalogue.value(), QString::fromLatin1(code));
        ASSERT_TRUE(entry.has_value());
        EXPECT_FALSE(entry->messagerDescriptionUserFriendly.isEmpty());
    }
    EXPECT_EQ(
        request(u"POST"_s, cloud.url(AppConstants::API::Host::path::setZubAuditHistory)).status,
        200);
}

TEST_F(SimScriptTest, RoutesAnswerWithTheirStatusBodyMethodAndDelay) {
    const QJsonObject script = parse(R"({"routes": [
        {"method": "POST", "path": "/only-post", "status": 201, "text": "made"},
        {"path": "/any", "json": {"a": 1}, "delayMs": 150, "_note": "comments are allowed"}
    ]})");
    ASSERT_EQ(SimScript::apply(script, cloud, transmitter), std::nullopt);

    const Answer made = request(u"POST"_s, cloud.url(u"/only-post"_s));
    EXPECT_EQ(made.status, 201);
    EXPECT_EQ(made.body, "made");
    EXPECT_EQ(request(u"GET"_s, cloud.url(u"/only-post"_s)).status, 404);

    QElapsedTimer clock;
    clock.start();
    const Answer any = request(u"PUT"_s, cloud.url(u"/any"_s));
    EXPECT_GE(clock.elapsed(), 140);
    EXPECT_EQ(QJsonDocument::fromJson(any.body).object().value(u"a"_s).toInt(), 1);
}

TEST_F(SimScriptTest, TransmitterRulesAnswerCommandsOnThePseudoTerminal) {
    const QJsonObject script = parse(R"({"transmitter": [
        {"endsWith": "AB CD", "reply": ["01 02", "00 ff"]},
        {"any": true, "reply": ["ee"]}
    ]})");
    ASSERT_EQ(SimScript::apply(script, cloud, transmitter), std::nullopt);

    QSerialPort port(transmitter.devicePath());
    ASSERT_TRUE(port.open(QIODevice::ReadWrite));
    QByteArray received;
    QObject::connect(&port, &QSerialPort::readyRead, &port, [&] { received += port.readAll(); });

    port.write(QByteArray::fromHex("10abcd"));
    ASSERT_TRUE(waitFor([&] { return received.size() >= 4; }));
    EXPECT_EQ(received, QByteArray::fromHex("010200ff"));

    received.clear();
    port.write(QByteArray::fromHex("77"));
    ASSERT_TRUE(waitFor([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received, QByteArray::fromHex("ee"));
    EXPECT_EQ(transmitter.commands(),
              (QList<QByteArray>{QByteArray::fromHex("10abcd"), QByteArray::fromHex("77")}));
}

TEST_F(SimScriptTest, AWrongEntryIsNamedAndNothingIsInstalled) {
    const QList<QPair<const char*, const char*>> cases{
        {R"({"routes": [{"path": "/ok", "text": ""}, {"path": "no-slash"}]})", "routes[1]"},
        {R"({"routes": [{"path": "/ok", "text": "", "json": {}}]})", "routes[0]"},
        {R"({"routes": [{"path": "/ok", "status": 99}]})", "routes[0]"},
        {R"({"routes": [{"path": "/ok", "json": 3}]})", "routes[0]"},
        {R"({"routes": [{"path": "/ok", "stauts": 200}]})", "stauts"},
        {R"({"routes": [{"path": "/ok"}], "transmitter": [{"reply": ["00"]}]})", "transmitter[0]"},
        {R"({"routes": [{"path": "/ok"}], "transmitter": [{"any": true, "reply": ["0"]}]})",
         "transmitter[0]"},
        {R"({"routes": [{"path": "/ok"}], "transmitter": [{"nth": -1, "reply": []}]})",
         "transmitter[0]"},
        {R"({"routes": {"path": "/ok"}})", "routes"},
        {R"({"route": []})", "route"},
    };
    for (const auto& [json, named] : cases) {
        SCOPED_TRACE(json);
        const std::optional<QString> error = SimScript::apply(parse(json), cloud, transmitter);
        ASSERT_TRUE(error.has_value());
        EXPECT_TRUE(error->contains(QString::fromLatin1(named))) << error->toStdString();
    }
    EXPECT_EQ(request(u"GET"_s, cloud.url(u"/ok"_s)).status, 404);

    QString readError;
    EXPECT_FALSE(SimScript::read(repositoryFile(u"tools/missing.json"_s), &readError));
    EXPECT_TRUE(readError.contains(u"missing.json"_s));
}

TEST(SimHexTest, HexadecimalBytesAllowBlanksOnly) {
    EXPECT_EQ(SimScript::bytesFromHex(u" 0a FF\t10 "_s), QByteArray::fromHex("0aff10"));
    EXPECT_EQ(SimScript::bytesFromHex(QString()), QByteArray());
    EXPECT_EQ(SimScript::bytesFromHex(u"0a f"_s), std::nullopt);
    EXPECT_EQ(SimScript::bytesFromHex(u"0g"_s), std::nullopt);
    EXPECT_EQ(SimScript::bytesFromHex(u"0a\u00e9"_s), std::nullopt);
}

TEST(SimInfoFileTest, TheApplicationReadsTheSimulatorsAddressesAndDevice) {
    QTemporaryDir dir;
    const QString written = dir.filePath(u"Info.json"_s);
    ASSERT_EQ(SimInfoFile::write(repositoryFile(u"src/app/Info.json"_s), written,
                                 u"http://127.0.0.1:4711"_s, u"/tmp/cradle"_s),
              std::nullopt);

    BundleInfo::setFilePath(written);
    EXPECT_EQ(AppConstants::API::Host::baseURL(), u"http://127.0.0.1:4711"_s);
    EXPECT_EQ(AppConstants::API::CommLib::baseURL(), u"http://127.0.0.1:4711/commlib"_s);
    EXPECT_EQ(AppConstants::API::Web::baseURL(), u"http://127.0.0.1:4711"_s);
    EXPECT_EQ(Configs::value(ConfigsKeys::serialDevicePath), u"/tmp/cradle"_s);
    EXPECT_EQ(Configs::value(ConfigsKeys::bundleShortVersionString), u"1.0.0"_s);
    BundleInfo::setFilePath({});

    EXPECT_TRUE(SimInfoFile::write(dir.filePath(u"absent.json"_s), written, {}, {}).has_value());
}
