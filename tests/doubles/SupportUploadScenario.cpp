#include "doubles/SupportUploadScenario.h"

#include "core/AppConstants.h"
#include "doubles/LoopbackCloud.h"
#include "doubles/PtyTransmitter.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace CommLib = AppConstants::API::CommLib::path;
namespace Keys = AppConstants::CommLibKeys;

namespace {

const QString post = QStringLiteral("POST");
const QByteArray trailer = QByteArrayLiteral("\xA5\x5A");
constexpr char commandType = 0x10;
constexpr char replyType = 0x20;

QByteArray frame(char type, const QByteArray& payload) {
    QByteArray bytes;
    bytes.append(type);
    bytes.append(static_cast<char>(payload.size() & 0xFF));
    bytes.append(static_cast<char>((payload.size() >> 8) & 0xFF));
    return bytes + payload;
}

QString base64(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toBase64());
}

LoopbackCloud::Reply commandAnswer(const QString& tag) {
    return LoopbackCloud::Reply::json(
        QJsonObject{{Keys::bytes, base64(SupportUploadScenario::command(tag))}});
}

LoopbackCloud::Reply refuse(const QString& why) {
    return LoopbackCloud::Reply::json(QJsonObject{{QStringLiteral("message"), why}}, 400);
}

// What the application sends back of a length-framed reply: everything after the header.
QString headerlessReply(const QString& tag) {
    return base64(SupportUploadScenario::replyPayload(tag) + trailer);
}

// The payload of a reply the application sent back, as text; "?" when it is not one. Bytes
// after the trailer (a frame's trailing extras) are the transmitter's own and pass unread.
QString payloadText(const QJsonValue& value, bool withHeader) {
    QByteArray bytes = QByteArray::fromBase64(value.toString().toLatin1());
    if (withHeader) {
        if (bytes.size() < 3)
            return QStringLiteral("?");
        bytes = bytes.mid(3);
    }
    const qsizetype end = bytes.indexOf(trailer);
    if (end < 0)
        return QStringLiteral("?");
    return QString::fromUtf8(bytes.left(end));
}

QString joinedList(const QJsonValue& list) {
    QStringList texts;
    for (const QJsonValue& entry : list.toArray())
        texts.append(payloadText(entry, false));
    return texts.join(u'|');
}

} // namespace

SupportUploadScenario::SupportUploadScenario(LoopbackCloud& cloud, PtyTransmitter& transmitter,
                                             Options options)
    : cloud_(cloud), transmitter_(transmitter), options_(std::move(options)) {}

SupportUploadScenario::SupportUploadScenario(LoopbackCloud& cloud, PtyTransmitter& transmitter)
    : SupportUploadScenario(cloud, transmitter, Options{}) {}

QJsonObject SupportUploadScenario::defaultLogTypes() {
    return {{QStringLiteral("10"), QStringLiteral("GlucoseRecords")},
            {QStringLiteral("2"), QStringLiteral("AlarmRecords")},
            {QStringLiteral("9"), QStringLiteral("EventRecords")},
            {QStringLiteral("1"), QStringLiteral("BatteryRecords")},
            {QStringLiteral("3"), QStringLiteral("SensorRecords")}};
}

QByteArray SupportUploadScenario::command(const QString& tag) {
    return frame(commandType, tag.toUtf8());
}

QByteArray SupportUploadScenario::replyPayload(const QString& tag) {
    return QByteArrayLiteral("reply to ") + tag.toUtf8();
}

QByteArray SupportUploadScenario::replyFrame(const QString& tag) {
    return frame(replyType, replyPayload(tag)) + trailer;
}

QString SupportUploadScenario::logUsageTag(int index) {
    return QStringLiteral("LogUsage#%1").arg(index);
}

QString SupportUploadScenario::tagClassTag(int index) {
    return QStringLiteral("TagClass#%1").arg(index);
}

QStringList SupportUploadScenario::logTags(const QString& id) {
    return {QStringLiteral("LogHeaderMapping:") + id, QStringLiteral("LogInfoHeaderMapping:") + id,
            QStringLiteral("LogEnumMapping:") + id, QStringLiteral("LogData:") + id};
}

QStringList SupportUploadScenario::runTags(const QStringList& logIdsInOrder) const {
    QStringList tags{versionInfo, linkState, logClassMapping};
    for (int i = 0; i < options_.logUsageCommands; ++i)
        tags.append(logUsageTag(i));
    tags.append({patientSettings, tagClassMapping});
    for (int i = 0; i < options_.tagClassCommands; ++i)
        tags.append(tagClassTag(i));
    tags.append(logTypesTag);
    for (const QString& id : logIdsInOrder)
        tags.append(logTags(id));
    return tags;
}

void SupportUploadScenario::install() {
    installCommandRoutes();
    installReplyRoutes();
    installUploadPage();
    installTransmitter();
}

void SupportUploadScenario::installCommandRoutes() {
    const QString& prefix = options_.commLibPrefix;
    const QList<QPair<QString, QString>> singles{{CommLib::versionInfoRequest, versionInfo},
                                                 {CommLib::linkStateRequest, linkState},
                                                 {CommLib::logClassMapping, logClassMapping},
                                                 {CommLib::readPatientSettings, patientSettings},
                                                 {CommLib::tagClassMapping, tagClassMapping},
                                                 {CommLib::getCommandBytesForLogs, logTypesTag}};
    for (const auto& [path, tag] : singles)
        cloud_.route(post, prefix + path, commandAnswer(tag));

    const auto list = [](int count, QString (*tagOf)(int)) {
        QJsonArray commands;
        for (int i = 0; i < count; ++i)
            commands.append(base64(command(tagOf(i))));
        return LoopbackCloud::Reply::json(QJsonObject{{Keys::bytes, commands}});
    };
    cloud_.route(post, prefix + CommLib::logUsageResponses,
                 list(options_.logUsageCommands, &logUsageTag));
    cloud_.route(post, prefix + CommLib::SendTagClassResponsedBytes,
                 list(options_.tagClassCommands, &tagClassTag));

    // The per-log commands name the log by the "logType" query, or (info header mapping) by
    // the last path segment.
    const auto byQuery = [](int exchange) {
        return [exchange](const LoopbackCloud::Request& request) {
            const QString id = request.query.queryItemValue(QStringLiteral("logType"));
            return commandAnswer(logTags(id).at(exchange));
        };
    };
    cloud_.route(post, prefix + CommLib::logHeaderMapping, byQuery(0));
    cloud_.route(post, prefix + CommLib::logEnumMapping, byQuery(2));
    cloud_.route(post, prefix + CommLib::logData, byQuery(3));
    for (const QString& id : options_.logTypes.keys()) {
        cloud_.route(post, prefix + CommLib::logInfoHeaderMapping + u'/' + id,
                     commandAnswer(logTags(id).at(1)));
    }
}

void SupportUploadScenario::installReplyRoutes() {
    const QString& prefix = options_.commLibPrefix;
    cloud_.route(post, prefix + CommLib::logDataHeader, [this](const LoopbackCloud::Request& r) {
        return LoopbackCloud::Reply::json(QJsonObject{{Keys::csv, headerCsv(r.json())}});
    });
    cloud_.route(post, prefix + CommLib::sendLogTypeResponsedBytes,
                 [this](const LoopbackCloud::Request& request) {
                     if (request.json().value(Keys::bytes).toString() !=
                         headerlessReply(logTypesTag))
                         return refuse(QStringLiteral("Not the log-types reply"));
                     return LoopbackCloud::Reply::json(options_.logTypes);
                 });
    cloud_.route(post, prefix + CommLib::logDataSendResponsedBytes,
                 [](const LoopbackCloud::Request& request) {
                     const QString csv = logCsv(request.json());
                     if (csv.contains(u'?'))
                         return refuse(QStringLiteral("Replies of the log are missing"));
                     return LoopbackCloud::Reply::json(QJsonObject{{Keys::csv, csv}});
                 });
}

QString SupportUploadScenario::headerCsv(const QJsonObject& body) const {
    const auto line = [&body](const QString& key) {
        return key + u',' + payloadText(body.value(key), false) + u'\n';
    };
    return QStringLiteral("Header,TMVERSION,") + options_.transmitterVersion + u'\n' +
           line(Keys::versionInfoResponseBytes) + line(Keys::linkStateResponseBytes) +
           line(Keys::logClassMappingResponseBytes) + Keys::logUsageMappingResponseBytesList +
           u',' + joinedList(body.value(Keys::logUsageMappingResponseBytesList)) + u'\n' +
           line(Keys::readPatientSettingsResponseBytes) + line(Keys::tagClassMappingResponseBytes) +
           Keys::tagClassListResponseBytesList + u',' +
           joinedList(body.value(Keys::tagClassListResponseBytesList));
}

QString SupportUploadScenario::logCsv(const QJsonObject& body) {
    QStringList fields{body.value(Keys::logName).toString()};
    for (const QString& key : {Keys::bytes, Keys::lhMappingResponseBytes,
                               Keys::lhInfoMappingResponseBytes, Keys::lgEnumMappingResponseBytes})
        fields.append(payloadText(body.value(key), true));
    return fields.join(u',') + u'\n';
}

void SupportUploadScenario::installUploadPage() {
    cloud_.route(post, AppConstants::API::Web::path::QXJDiagnosticsLogs,
                 [this](const LoopbackCloud::Request& request) {
                     std::optional<Upload> upload =
                         parseMultipart(request.header("Content-Type"), request.body);
                     if (!upload)
                         return LoopbackCloud::Reply::text("Not a file upload", 400);
                     if (options_.uploadFolder) {
                         QSaveFile file(QDir(*options_.uploadFolder).filePath(upload->fileName));
                         if (file.open(QIODevice::WriteOnly)) {
                             file.write(upload->content);
                             file.commit();
                         }
                     }
                     uploads_.append(*upload);
                     return LoopbackCloud::Reply::text("File uploaded successfully");
                 });
}

std::optional<SupportUploadScenario::Upload>
SupportUploadScenario::parseMultipart(const QByteArray& contentType, const QByteArray& body) {
    const QByteArray marker = "boundary=";
    const qsizetype at = contentType.indexOf(marker);
    if (!contentType.startsWith("multipart/form-data") || at < 0)
        return std::nullopt;
    const QByteArray boundary = "--" + contentType.mid(at + marker.size());
    const QByteArray closing = "\r\n" + boundary + "--\r\n";
    if (!body.startsWith(boundary + "\r\n") || !body.endsWith(closing))
        return std::nullopt;
    const qsizetype headersStart = boundary.size() + 2;
    const qsizetype headersEnd = body.indexOf("\r\n\r\n", headersStart);
    if (headersEnd < 0 || headersEnd + 4 > body.size() - closing.size())
        return std::nullopt;

    Upload upload;
    for (const QByteArray& line : body.mid(headersStart, headersEnd - headersStart).split('\n')) {
        const QByteArray header = line.endsWith('\r') ? line.chopped(1) : line;
        if (header.toLower().startsWith("content-disposition:"))
            upload.contentDisposition = header;
        else if (header.toLower().startsWith("content-type:"))
            upload.contentType = header.mid(13).trimmed();
        else
            return std::nullopt; // a header line that is neither: the part's header broke
    }
    const QByteArray filenameMarker = "filename=\"";
    const qsizetype nameAt = upload.contentDisposition.indexOf(filenameMarker);
    if (nameAt < 0 || !upload.contentDisposition.endsWith('"'))
        return std::nullopt;
    const QByteArray name =
        upload.contentDisposition.mid(nameAt + filenameMarker.size()).chopped(1);
    if (name.contains('"'))
        return std::nullopt;
    upload.fileName = QString::fromUtf8(name);
    upload.content = body.mid(headersEnd + 4, body.size() - closing.size() - headersEnd - 4);
    return upload;
}

void SupportUploadScenario::installTransmitter() {
    const auto answer = [this](const QString& tag, bool quietPeriod) {
        if (options_.silentTags.contains(tag))
            return;
        const QByteArray reply = replyFrame(tag);
        // Header replies: split inside the 3-byte header. Log replies: three pieces.
        QList<QByteArray> chunks{reply.left(2), reply.mid(2)};
        if (quietPeriod) {
            const qsizetype third = reply.size() / 3;
            chunks = {reply.left(third), reply.mid(third, third), reply.mid(2 * third)};
        }
        transmitter_.addRule(
            PtyTransmitter::whenEndsWith(command(tag), chunks, options_.chunkGapMs));
    };
    for (const QString& tag : runTags(options_.logTypes.keys())) {
        const bool lengthFramed = !tag.startsWith(QStringLiteral("Log")) ||
                                  tag.startsWith(QStringLiteral("LogUsage")) ||
                                  tag == logClassMapping;
        answer(tag, !lengthFramed);
    }
}
