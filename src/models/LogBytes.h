#pragma once

#include <QByteArray>
#include <QByteArrayList>

// The transmitter's replies of a support upload, each as base64 text, kept until the cloud is
// sent them. Held as bytes: half the size of the same text in a QString, and written into a
// request body as they are. All empty at launch.
class LogBytes {
public:
    static LogBytes& shared();

    QByteArray TxInfoBytes; // written by the connect sequence's transmitter-information exchange
    QByteArray logVersionBytes;
    QByteArray logLinkStateBytes;
    QByteArray logClassMappingBytes;
    QByteArray logReadPatientSettingsBytes;
    QByteArray logTagClassMappingBytes;
    QByteArray logHeaderMappingBytes;
    QByteArray logInfoHeaderMappingBytes;
    QByteArray logEnumBytes;
    QByteArray logDataBytes;
    QByteArrayList logUsageBytesList;
    QByteArrayList logTagClassListBytesList;

private:
    LogBytes() = default;
};
