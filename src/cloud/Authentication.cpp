#include "cloud/Authentication.h"

Authentication& Authentication::shared() {
    static Authentication instance;
    return instance;
}
