#pragma once

#include <QString>

// What the connected transmitter said about itself in the transmitter-information exchange.
// Every field is empty text while nothing is known. Main thread only.
class TxInfo {
public:
    static TxInfo& shared();

    QString serialNum;
    QString name;
    // The firmware version as the transmitter reports it, and its full text (with any suffix).
    QString firmwareVersion;
    QString fullFirmwareVersion;

private:
    TxInfo() = default;
};
