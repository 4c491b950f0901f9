#include "support/CloudAnswer.h"

#include <gtest/gtest.h>

namespace {

const QString kUnusable = QStringLiteral("Failed to parse JSON or extract command data.");

void expectError(const AnswerError& error, const char* domain, int code, const QString& text) {
    EXPECT_EQ(error.domain, QString::fromLatin1(domain));
    EXPECT_EQ(error.code, code);
    EXPECT_EQ(error.description, text);
}

TEST(CloudAnswer, SingleCommand) {
    const auto good = CloudAnswer::command(R"({"bytes":"AQID","other":1})");
    ASSERT_TRUE(good.ok());
    EXPECT_EQ(good.value(), QStringLiteral("AQID"));

    for (const char* body : {R"({"bytes":["AQID"]})", R"({"bytes":5})", R"({"byte":"AQID"})",
                             R"(["AQID"])", R"({"bytes":null})"}) {
        const auto bad = CloudAnswer::command(body);
        ASSERT_FALSE(bad.ok()) << body;
        expectError(bad.error(), "APIError", 1, kUnusable);
    }
    const auto empty = CloudAnswer::command(R"({"bytes":""})");
    ASSERT_FALSE(empty.ok());
    EXPECT_EQ(empty.error().domain, QStringLiteral("APIError"));
    EXPECT_NE(empty.error().description, kUnusable);
}

TEST(CloudAnswer, MalformedJsonCarriesTheParsersError) {
    for (const QByteArray& body : {QByteArray(), QByteArray("{\"bytes\":"), QByteArray("<html>"),
                                   QByteArray("{\"bytes\":\"AQ\"} trailing")}) {
        const auto answer = CloudAnswer::command(body);
        ASSERT_FALSE(answer.ok()) << body.constData();
        EXPECT_EQ(answer.error().domain, QStringLiteral("QJsonParseError"));
        EXPECT_FALSE(answer.error().description.isEmpty());
        EXPECT_FALSE(CloudAnswer::commandList(body).ok());
        EXPECT_FALSE(CloudAnswer::headerCsv(body).ok());
        EXPECT_FALSE(CloudAnswer::logCsv(body).ok());
        EXPECT_FALSE(CloudAnswer::logTypes(body).ok());
    }
}

TEST(CloudAnswer, CommandListKeepsTheCloudsOrder) {
    const auto three = CloudAnswer::commandList(R"({"bytes":["AQ==","Ag==","Aw=="]})");
    ASSERT_TRUE(three.ok());
    EXPECT_EQ(three.value(), QStringList({QStringLiteral("AQ=="), QStringLiteral("Ag=="),
                                          QStringLiteral("Aw==")}));

    const auto none = CloudAnswer::commandList(R"({"bytes":[]})");
    ASSERT_TRUE(none.ok());
    EXPECT_TRUE(none.value().isEmpty());

    for (const char* body :
         {R"({"bytes":"AQ=="})", R"({"bytes":["AQ==",3]})", R"([["AQ=="]])", R"({"list":[]})"}) {
        const auto bad = CloudAnswer::commandList(body);
        ASSERT_FALSE(bad.ok()) << body;
        expectError(bad.error(), "APIError", 1, kUnusable);
    }
    EXPECT_FALSE(CloudAnswer::commandList(R"({"bytes":["AQ==",""]})").ok());
}

TEST(CloudAnswer, HeaderAndLogCsvWithTheirOwnErrors) {
    const auto header = CloudAnswer::headerCsv(R"({"csv":"TMVERSION,1\n","x":0})");
    ASSERT_TRUE(header.ok());
    EXPECT_EQ(header.value(), QStringLiteral("TMVERSION,1\n"));
    expectError(CloudAnswer::headerCsv(R"({"csv":12})").error(), "APIError", 1, kUnusable);
    expectError(CloudAnswer::headerCsv(R"(["csv"])").error(), "APIError", 1, kUnusable);

    const auto log = CloudAnswer::logCsv(R"({"csv":"a,b"})");
    ASSERT_TRUE(log.ok());
    EXPECT_EQ(log.value(), QStringLiteral("a,b"));
    expectError(CloudAnswer::logCsv(R"([1,2])").error(), "JSONError", -1,
                QStringLiteral("Invalid JSON structure."));
    expectError(CloudAnswer::logCsv(R"({"bytes":"a,b"})").error(), "CSVError", -1,
                QStringLiteral("No CSV data found in response."));
    expectError(CloudAnswer::logCsv(R"({"csv":null})").error(), "CSVError", -1,
                QStringLiteral("No CSV data found in response."));
}

TEST(CloudAnswer, LogTypesMustBeAnObject) {
    const auto types = CloudAnswer::logTypes(R"({"10":"Events","2":"Alarms","x":5})");
    ASSERT_TRUE(types.ok());
    EXPECT_EQ(types.value().size(), 3);
    EXPECT_EQ(types.value().value(QStringLiteral("2")).toString(), QStringLiteral("Alarms"));

    const auto empty = CloudAnswer::logTypes("{}");
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty.value().isEmpty());

    expectError(CloudAnswer::logTypes(R"(["Events"])").error(), "APIError", 1, kUnusable);
}

} // namespace
