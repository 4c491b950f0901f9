#include "cloud/ComLibAuthentication.h"

ComLibAuthentication& ComLibAuthentication::shared() {
    static ComLibAuthentication instance;
    return instance;
}
