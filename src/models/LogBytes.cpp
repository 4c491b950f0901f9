#include "models/LogBytes.h"

LogBytes& LogBytes::shared() {
    static LogBytes instance;
    return instance;
}
