#include "cloud/GlobalUserManager.h"

GlobalUserManager& GlobalUserManager::shared() {
    static GlobalUserManager instance;
    return instance;
}
