#include "transmitter/TxInfo.h"

TxInfo& TxInfo::shared() {
    static TxInfo instance;
    return instance;
}
