#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

class LogBytes;

// The secure channel's values that every comm-library request of a support upload carries.
struct ChannelKeys {
    QString sessionKeyPair;
    QString secureChannelToken;
};

// Bodies of the support upload's comm-library requests. Every value is text, or a list of
// text; sequence numbers travel as decimal text. Reply requests carry no sequence number.
// The requests that carry the transmitter's replies back are written straight as JSON bytes:
// a log's data may be tens of megabytes.
namespace LogRequestBody {

// A command request.
QVariantMap command(const ChannelKeys& keys, qint64 sequenceNumber);
// The log-usage list request: the command body with the log class mapping reply.
QVariantMap logUsageList(const ChannelKeys& keys, qint64 sequenceNumber, const LogBytes& bytes);
// The tag-class list request: the command body with the tag class mapping reply as "bytes".
QVariantMap tagClassList(const ChannelKeys& keys, qint64 sequenceNumber, const LogBytes& bytes);
// The header request: every header-stage reply and the transmitter-information reply.
QByteArray header(const ChannelKeys& keys, const LogBytes& bytes);
// The log-types reply request.
QByteArray logTypesReply(const ChannelKeys& keys, const QByteArray& replyBytes);
// A log's data reply request: its four replies, its name and the transmitter information.
QByteArray logDataReply(const ChannelKeys& keys, const LogBytes& bytes, const QString& logName);

} // namespace LogRequestBody
