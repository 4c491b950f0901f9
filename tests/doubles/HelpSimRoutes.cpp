#include "doubles/HelpSimRoutes.h"

#include "core/AppConstants.h"
#include "core/Console.h"
#include "core/Helper.h"
#include "doubles/LoopbackCloud.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSaveFile>

#include <memory>
#include <optional>

namespace Help = AppConstants::Help;
namespace Path = AppConstants::API::Host::path;

namespace {

QJsonArray configRows(const QString& name) {
    const QString value = name == Help::configSupportEmail    ? HelpSimRoutes::supportEmail
                          : name == Help::configUserGuideLink ? HelpSimRoutes::userGuideLink
                                                              : QString();
    if (value.isEmpty())
        return {};
    return {QJsonObject{{QStringLiteral("Name"), name},
                        {QStringLiteral("Value"), value},
                        {QStringLiteral("Language"), QStringLiteral("en")},
                        {QStringLiteral("ActiveFlag"), true}}};
}

QJsonArray auditRows(const QString& userId) {
    const QDateTime now = QDateTime::currentDateTime();
    const struct {
        int daysAgo;
        const char* code;
        const char* description;
    } rows[] = {{14, "8000017", "Support upload started"},
                {14, "8000003", "Support upload completed"},
                {2, "5000051", "Training quiz passed"}};
    QJsonArray history;
    int id = 1;
    for (const auto& row : rows) {
        history.append(QJsonObject{
            {QStringLiteral("Id"), id++},
            {QStringLiteral("UserID"), userId},
            {QStringLiteral("AuditDate"),
             now.addDays(-row.daysAgo).toString(QStringLiteral("MM/dd/yyyy hh:mm:ss"))},
            {QStringLiteral("TransmitterID"), QStringLiteral("123456")},
            {QStringLiteral("FirmwareID"), QStringLiteral("3")},
            {QStringLiteral("ErrorCode"), QString::fromLatin1(row.code)},
            {QStringLiteral("FailureDescription"), QString::fromLatin1(row.description)},
            {QStringLiteral("ZubStateID"), QStringLiteral("1")}});
    }
    return history;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

LoopbackCloud::Reply keepEmail(const LoopbackCloud::Request& request, const QDir& outputDir,
                               int number) {
    const QJsonObject email = request.json();
    for (const QString& key : {Help::keyToAddress, Help::keySubject, Help::keyBody}) {
        if (!email.value(key).isString())
            return LoopbackCloud::Reply::text("\"" + key.toUtf8() + "\" is missing", 400);
    }
    std::optional<QByteArray> attachment;
    if (email.contains(Help::keyFileName)) {
        const auto decoded =
            QByteArray::fromBase64Encoding(email.value(Help::keyFileStream).toString().toLatin1(),
                                           QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return LoopbackCloud::Reply::text("the attachment is not base64", 400);
        attachment = *decoded;
    }
    const QString stem = QStringLiteral("email-%1").arg(number, 3, 10, QLatin1Char('0'));
    const QString text = QStringLiteral("To: ") + email.value(Help::keyToAddress).toString() +
                         QStringLiteral("\nSubject: ") + email.value(Help::keySubject).toString() +
                         QStringLiteral("\n\n") + email.value(Help::keyBody).toString() + u'\n';
    QString kept = stem + QStringLiteral(".txt");
    if (!writeFile(outputDir.filePath(kept), text.toUtf8()))
        return LoopbackCloud::Reply::text("could not keep the e-mail", 500);
    if (attachment) {
        // The name comes from the request: it may not lead out of the folder.
        const QString name =
            stem + u'-' + Helper::fileNameSafe(email.value(Help::keyFileName).toString());
        if (!writeFile(outputDir.filePath(name), *attachment))
            return LoopbackCloud::Reply::text("could not keep the attachment", 500);
        kept += QStringLiteral(", ") + name;
    }
    Console::print(QStringLiteral("help e-mail \"") + email.value(Help::keySubject).toString() +
                   QStringLiteral("\" kept as ") + kept);
    return LoopbackCloud::Reply::json(
        QJsonObject{{QStringLiteral("Message"), QStringLiteral("Sent")}});
}

} // namespace

void HelpSimRoutes::install(LoopbackCloud& cloud, const QDir& outputDir) {
    const QString post = AppConstants::Http::post;
    cloud.route(post, Path::getFromZubAppConfig, [](const LoopbackCloud::Request& request) {
        return LoopbackCloud::Reply::json(
            configRows(request.json().value(Help::keyName).toString()));
    });
    cloud.route(post, Path::getZubAuditHistory, [](const LoopbackCloud::Request& request) {
        return LoopbackCloud::Reply::json(
            auditRows(request.json().value(Help::keyUserId).toString()));
    });
    auto sent = std::make_shared<int>(0);
    cloud.route(post, Path::sendZubEmail, [outputDir, sent](const LoopbackCloud::Request& request) {
        LoopbackCloud::Reply reply = keepEmail(request, outputDir, *sent + 1);
        if (reply.status == 200)
            ++*sent;
        return reply;
    });
}
