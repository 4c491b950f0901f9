#pragma once

#include <QString>

// The current secure channel, as the cloud negotiated it with the transmitter. Main thread
// only.
class SecureChannelAttributes {
public:
    static SecureChannelAttributes& shared();

    QString sessionKeyPair;
    QString secureChannelToken;
    // The message sequence number: 1 at launch and never reset; raised before each command
    // request and sent as decimal text.
    int TxMsgSeqNum = 1;

private:
    SecureChannelAttributes() = default;
};
