#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class LoopbackCloud;
class PtyTransmitter;

// A whole support upload, played by the loopback cloud and the pseudo-terminal transmitter:
//
// - The comm-library paths (under `commLibPrefix`) answer every command request with a command
//   frame that names the exchange (its "tag": "VersionInfo", "LogUsage#2", "LogData:9", ...),
//   and the two list requests with a list of such frames.
// - The transmitter answers each of those commands with a reply frame: type byte, little-endian
//   payload length, the payload "reply to <tag>" and two trailing bytes. Header-stage replies
//   come in two pieces split inside the 3-byte header; log-stage replies in three pieces,
//   `chunkGapMs` apart, to be framed by their quiet period.
// - The reply requests answer what the cloud makes of the replies it is sent: the header CSV,
//   the log-types map, and one CSV line per log naming the replies it was built from. A reply
//   that is not what the transmitter sent is refused with status 400 and a message.
// - The support page "/QXJUpload.aspx" parses the multipart upload and keeps each file (and,
//   when a folder is given, writes it there).
class SupportUploadScenario {
public:
    struct Options {
        QString commLibPrefix = QStringLiteral("/commlib");
        int logUsageCommands = 3;
        int tagClassCommands = 4;
        // Log-type id to log name, as the cloud lists the transmitter's logs.
        QJsonObject logTypes = defaultLogTypes();
        // The version entry that the header CSV carries.
        QString transmitterVersion = QStringLiteral("3.2.1");
        int chunkGapMs = 5;
        // Commands that the transmitter leaves unanswered.
        QSet<QString> silentTags;
        // Where the support page writes the files it receives; none: kept in memory only.
        std::optional<QString> uploadFolder;
    };

    struct Upload {
        QString fileName;
        // The part's Content-Disposition line exactly as received.
        QByteArray contentDisposition;
        QByteArray contentType;
        QByteArray content;
    };

    SupportUploadScenario(LoopbackCloud& cloud, PtyTransmitter& transmitter, Options options);
    SupportUploadScenario(LoopbackCloud& cloud, PtyTransmitter& transmitter);

    // Installs the routes and the transmitter's answers.
    void install();

    const Options& options() const { return options_; }
    // Files the support page received, in order.
    const QList<Upload>& uploads() const { return uploads_; }

    static QJsonObject defaultLogTypes();

    // The command frame of an exchange, and the reply frame the transmitter gives to it.
    static QByteArray command(const QString& tag);
    static QByteArray replyPayload(const QString& tag);
    static QByteArray replyFrame(const QString& tag);
    // Tags of the listed commands.
    static QString logUsageTag(int index);
    static QString tagClassTag(int index);
    // Tags of a log's four exchanges, in the order they run.
    static QStringList logTags(const QString& id);
    // Every command of a whole run, in the order the application sends them, for log ids
    // downloaded in the given order.
    QStringList runTags(const QStringList& logIdsInOrder) const;

    // The header CSV the cloud makes of a header request body.
    QString headerCsv(const QJsonObject& body) const;
    // The CSV line the cloud makes of a log-data request body.
    static QString logCsv(const QJsonObject& body);

    // One multipart form part: the parsed upload, or nothing when the body is not one.
    static std::optional<Upload> parseMultipart(const QByteArray& contentType,
                                                const QByteArray& body);

    // Tag names.
    static inline const QString versionInfo = QStringLiteral("VersionInfo");
    static inline const QString linkState = QStringLiteral("LinkState");
    static inline const QString logClassMapping = QStringLiteral("LogClassMapping");
    static inline const QString patientSettings = QStringLiteral("PatientSettings");
    static inline const QString tagClassMapping = QStringLiteral("TagClassMapping");
    static inline const QString logTypesTag = QStringLiteral("LogTypes");

private:
    void installCommandRoutes();
    void installReplyRoutes();
    void installUploadPage();
    void installTransmitter();

    LoopbackCloud& cloud_;
    PtyTransmitter& transmitter_;
    Options options_;
    QList<Upload> uploads_;
};
