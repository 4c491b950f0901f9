#include "CloudTestSupport.h"

#include "cloud/Authentication.h"
#include "cloud/ComLibAuthentication.h"
#include "cloud/GlobalManager.h"
#include "cloud/NetworkManager.h"
#include "doubles/WaitFor.h"
#include "platform/BundleInfo.h"
#include "platform/TimeScale.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

using namespace Qt::StringLiterals;

void CloudTest::SetUp() {
    ASSERT_TRUE(cloud.isListening());
    ASSERT_TRUE(configFolder.isValid());
    const QJsonObject info{
        {u"HOSTAPIURL"_s, cloud.baseUrl()},
        {u"HOSTWEBURL"_s, cloud.baseUrl()},
        {u"HOSTCOMMLIBAPIURL"_s, cloud.url(u"/commlib"_s)},
    };
    const QString path = configFolder.filePath(u"Info.json"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(info).toJson());
    file.close();
    BundleInfo::setFilePath(path);

    NetworkManager::shared().setConnected(true);
    Authentication::shared().clear();
    ComLibAuthentication::shared().clear();
    TimeScale::setFactor(1.0);
}

void CloudTest::TearDown() {
    BundleInfo::setFilePath({});
    NetworkManager::shared().setConnected(true);
    Authentication::shared().clear();
    ComLibAuthentication::shared().clear();
    TimeScale::setFactor(1.0);
}

QString CloudTest::commLibUrl(const QString& path) const {
    return cloud.url(u"/commlib"_s + path);
}

std::optional<APIResult> CloudTest::call(const QString& url, const QVariantMap& parameters,
                                         HTTPMethod method, ContentType contentType,
                                         int timeoutMs) {
    // Shared with the completion, which may outlive a wait that timed out.
    auto result = std::make_shared<std::optional<APIResult>>();
    GlobalManager::shared().callAPI(url, method, parameters, contentType,
                                    [result](const APIResult& r) { *result = r; });
    waitFor([result] { return result->has_value(); }, timeoutMs);
    return *result;
}

std::optional<APIResult> CloudTest::upload(const QString& url, const QString& filename,
                                           int timeoutMs, qint64 maxBytes) {
    auto result = std::make_shared<std::optional<APIResult>>();
    GlobalManager::shared().uploadCSVFile(
        url, filename, [result](const APIResult& r) { *result = r; }, maxBytes);
    waitFor([result] { return result->has_value(); }, timeoutMs);
    return *result;
}
