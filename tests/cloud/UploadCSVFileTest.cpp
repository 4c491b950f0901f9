// The support upload of a file from the application folder, as the support page receives it.
#include "CloudTestSupport.h"

#include "cloud/Authentication.h"
#include "cloud/GlobalManager.h"
#include "cloud/NetworkManager.h"
#include "core/Helper.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

using Reply = LoopbackCloud::Reply;

class UploadCSVFileTest : public CloudTest {
protected:
    void SetUp() override {
        CloudTest::SetUp();
        folder = *Helper::getDirectoryUrl();
        ASSERT_TRUE(QDir().mkpath(folder));
        cloud.route(u"POST"_s, u"/QXJUpload.aspx"_s, Reply::text("received"));
    }
    void TearDown() override {
        QDir(folder).removeRecursively();
        CloudTest::TearDown();
    }

    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString page() const { return cloud.url(u"/QXJUpload.aspx"_s); }

    static QByteArray expectedBody(const QByteArray& boundary, const QByteArray& name,
                                   const QByteArray& bytes) {
        return "--" + boundary + "\r\n" + "Content-Disposition: form-data; filename=\"" + name +
               "\"\r\n" + "Content-Type: application/octet-stream\r\n\r\n" + bytes + "\r\n" + "--" +
               boundary + "--\r\n";
    }

    static QByteArray boundaryOf(const LoopbackCloud::Request& request) {
        const QByteArray type = request.header("Content-Type");
        const QByteArray prefix = "multipart/form-data; boundary=";
        return type.startsWith(prefix) ? type.mid(prefix.size()) : QByteArray();
    }

    QString folder;
};

TEST_F(UploadCSVFileTest, BodyIsTheOnePartFormByteForByte) {
    // CSV text with line breaks of both kinds, a boundary-like line and bytes that are not text.
    const QByteArray csv("Date,Code\r\n--x\n\x00\xff\xfe", 19);
    const QString name = u"WPZ_0000_T123_00_0000_0002026.12.06T02.05.09.csv"_s;
    writeFile(name, csv);
    // Signed in: the support page still gets no Authorization header.
    Authentication::shared().accessToken = u"user-token"_s;

    auto result = upload(page(), name);
    ASSERT_TRUE(result && result->ok());
    EXPECT_EQ(result->data(), "received");

    ASSERT_EQ(cloud.requestCount(), 1);
    const LoopbackCloud::Request& request = cloud.requests().first();
    EXPECT_EQ(request.method, u"POST"_s);
    EXPECT_FALSE(request.hasHeader("Authorization"));
    const QByteArray boundary = boundaryOf(request);
    EXPECT_TRUE(
        QRegularExpression(u"^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"_s)
            .match(QString::fromLatin1(boundary))
            .hasMatch())
        << boundary.constData();
    EXPECT_EQ(request.body, expectedBody(boundary, name.toUtf8(), csv));

    // Every upload has a boundary of its own.
    upload(page(), name);
    ASSERT_EQ(cloud.requestCount(), 2);
    EXPECT_NE(boundaryOf(cloud.requests().at(1)), boundary);
}

TEST_F(UploadCSVFileTest, CsvOfLargeLogsGoesWholeUnderItsOwnBoundAndNotPastIt) {
    const QByteArray csv(RegularFile::maxReadBytes + 1, 'x');
    writeFile(u"large.csv"_s, csv);
    auto result = upload(page(), u"large.csv"_s, 5000, csv.size());
    ASSERT_TRUE(result && result->ok());
    ASSERT_EQ(cloud.requestCount(), 1);
    const LoopbackCloud::Request& request = cloud.requests().first();
    EXPECT_EQ(request.body, expectedBody(boundaryOf(request), "large.csv", csv));

    auto over = upload(page(), u"large.csv"_s, 5000, csv.size() - 1);
    ASSERT_TRUE(over && !over->ok());
    EXPECT_TRUE(over->error().is(APIError::Kind::other));
    EXPECT_EQ(cloud.requestCount(), 1);
}

TEST_F(UploadCSVFileTest, MissingFileIsSentAsAnEmptyPart) {
    auto result = upload(page(), u"never-written.csv"_s);
    ASSERT_TRUE(result && result->ok());
    ASSERT_EQ(cloud.requestCount(), 1);
    const LoopbackCloud::Request& request = cloud.requests().first();
    EXPECT_EQ(request.body, expectedBody(boundaryOf(request), "never-written.csv", {}));
}

TEST_F(UploadCSVFileTest, PageFailuresCarryNoBodyAndNeverSayOffline) {
    writeFile(u"a.csv"_s, "x");
    cloud.route(u"POST"_s, u"/QXJUpload.aspx"_s, Reply::text("Upload rejected", 500));
    auto rejected = upload(page(), u"a.csv"_s);
    ASSERT_TRUE(rejected && !rejected->ok());
    EXPECT_TRUE(rejected->error().is(APIError::Kind::httpError));
    EXPECT_EQ(rejected->error().statusCode(), 500);
    EXPECT_FALSE(rejected->error().data().has_value());

    cloud.route(u"POST"_s, u"/QXJUpload.aspx"_s, Reply::empty(200));
    auto empty = upload(page(), u"a.csv"_s);
    ASSERT_TRUE(empty && !empty->ok());
    EXPECT_TRUE(empty->error().is(APIError::Kind::noData));

    // The upload does not consult the connectivity flag; a failed transfer is `other`.
    NetworkManager::shared().setConnected(false);
    cloud.route(u"POST"_s, u"/QXJUpload.aspx"_s, Reply::dropConnection());
    auto dropped = upload(page(), u"a.csv"_s);
    ASSERT_TRUE(dropped && !dropped->ok());
    EXPECT_TRUE(dropped->error().is(APIError::Kind::other));
    EXPECT_EQ(cloud.requestCount(), 3);
}

TEST_F(UploadCSVFileTest, EarlyFailuresAreReportedAtOnceAndSendNothing) {
    writeFile(u"a.csv"_s, "x");
    ASSERT_TRUE(QDir(folder).mkpath(u"a-folder.csv"_s));

    struct Case {
        QString to;
        std::optional<QString> folder;
        QString name;
        APIError::Kind kind;
    };
    const QList<Case> cases{
        {u"not an address"_s, folder, u"a.csv"_s, APIError::Kind::invalidURL},
        {u""_s, folder, u"a.csv"_s, APIError::Kind::invalidURL},
        // No folder to read from: reported, not left unanswered.
        {page(), std::nullopt, u"a.csv"_s, APIError::Kind::other},
        // Unreadable: a folder where the file should be.
        {page(), folder, u"a-folder.csv"_s, APIError::Kind::other},
        // Names that would leave the folder or break the part's header line.
        {page(), folder, u"../a.csv"_s, APIError::Kind::other},
        {page(), folder, u"sub/a.csv"_s, APIError::Kind::other},
        {page(), folder, u"a\".csv"_s, APIError::Kind::other},
        {page(), folder, u"a\r\nX: y.csv"_s, APIError::Kind::other},
        {page(), folder, u""_s, APIError::Kind::other},
    };
    for (const Case& c : cases) {
        std::optional<APIResult> result;
        GlobalManager::shared().uploadFile(c.to, c.folder, c.name,
                                           [&result](const APIResult& r) { result = r; });
        ASSERT_TRUE(result.has_value()) << c.name.toStdString();
        ASSERT_FALSE(result->ok());
        EXPECT_EQ(result->error().kind(), c.kind) << c.name.toStdString();
    }
    upload(page(), u"a.csv"_s);
    ASSERT_EQ(cloud.requestCount(), 1);
    EXPECT_TRUE(cloud.requests().first().body.contains("filename=\"a.csv\""));
}

} // namespace
