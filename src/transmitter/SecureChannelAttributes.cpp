#include "transmitter/SecureChannelAttributes.h"

SecureChannelAttributes& SecureChannelAttributes::shared() {
    static SecureChannelAttributes instance;
    return instance;
}
