#pragma once

#include <QString>
#include <QStringList>

// The transmitter's replies of a support upload, each as base64 text, kept until the cloud is
// sent them. All empty at launch.
class LogBytes {
public:
    static LogBytes& shared();

    QString TxInfoBytes; // written by the connect sequence's transmitter-information exchange
    QString logVersionBytes;
    QString logLinkStateBytes;
    QString logClassMappingBytes;
    QString logReadPatientSettingsBytes;
    QString logTagClassMappingBytes;
    QString logHeaderMappingBytes;
    QString logInfoHeaderMappingBytes;
    QString logEnumBytes;
    QString logDataBytes;
    QStringList logUsageBytesList;
    QStringList logTagClassListBytesList;

private:
    LogBytes() = default;
};
