#include "support/LogRequestBody.h"

#include "cloud/JsonObjectWriter.h"
#include "core/AppConstants.h"
#include "models/LogBytes.h"

namespace Keys = AppConstants::CommLibKeys;

namespace {

QVariantMap channel(const ChannelKeys& keys) {
    return {{Keys::sessionKeyPair, keys.sessionKeyPair},
            {Keys::secureChannelToken, keys.secureChannelToken}};
}

JsonObjectWriter channelWriter(const ChannelKeys& keys) {
    JsonObjectWriter body;
    body.text(Keys::sessionKeyPair, keys.sessionKeyPair);
    body.text(Keys::secureChannelToken, keys.secureChannelToken);
    return body;
}

} // namespace

QVariantMap LogRequestBody::command(const ChannelKeys& keys, qint64 sequenceNumber) {
    QVariantMap body = channel(keys);
    body.insert(Keys::txMsgSeqNum, QString::number(sequenceNumber));
    return body;
}

QVariantMap LogRequestBody::logUsageList(const ChannelKeys& keys, qint64 sequenceNumber,
                                         const LogBytes& bytes) {
    QVariantMap body = command(keys, sequenceNumber);
    body.insert(Keys::logClassMappingResponseBytes,
                QString::fromLatin1(bytes.logClassMappingBytes));
    return body;
}

QVariantMap LogRequestBody::tagClassList(const ChannelKeys& keys, qint64 sequenceNumber,
                                         const LogBytes& bytes) {
    QVariantMap body = command(keys, sequenceNumber);
    body.insert(Keys::bytes, QString::fromLatin1(bytes.logTagClassMappingBytes));
    return body;
}

QByteArray LogRequestBody::header(const ChannelKeys& keys, const LogBytes& bytes) {
    JsonObjectWriter body = channelWriter(keys);
    body.bytes(Keys::txSensorInfoResponseBytes, bytes.TxInfoBytes);
    body.bytes(Keys::versionInfoResponseBytes, bytes.logVersionBytes);
    body.bytes(Keys::linkStateResponseBytes, bytes.logLinkStateBytes);
    body.bytes(Keys::readPatientSettingsResponseBytes, bytes.logReadPatientSettingsBytes);
    body.bytes(Keys::logClassMappingResponseBytes, bytes.logClassMappingBytes);
    body.list(Keys::logUsageMappingResponseBytesList, bytes.logUsageBytesList);
    body.bytes(Keys::tagClassMappingResponseBytes, bytes.logTagClassMappingBytes);
    body.list(Keys::tagClassListResponseBytesList, bytes.logTagClassListBytesList);
    return body.toJson();
}

QByteArray LogRequestBody::logTypesReply(const ChannelKeys& keys, const QByteArray& replyBytes) {
    JsonObjectWriter body = channelWriter(keys);
    body.bytes(Keys::bytes, replyBytes);
    return body.toJson();
}

QByteArray LogRequestBody::logDataReply(const ChannelKeys& keys, const LogBytes& bytes,
                                        const QString& logName) {
    JsonObjectWriter body = channelWriter(keys);
    body.bytes(Keys::bytes, bytes.logDataBytes);
    body.text(Keys::logName, logName);
    body.bytes(Keys::txSensorInfoResponseBytes, bytes.TxInfoBytes);
    body.bytes(Keys::lhMappingResponseBytes, bytes.logHeaderMappingBytes);
    body.bytes(Keys::lhInfoMappingResponseBytes, bytes.logInfoHeaderMappingBytes);
    body.bytes(Keys::lgEnumMappingResponseBytes, bytes.logEnumBytes);
    return body.toJson();
}
