#include "core/Configuration.h"

#include "core/AppConstants.h"
#include "platform/BundleInfo.h"

namespace Keys = AppConstants::Configurations;

QString BaseURLs::key(BaseURLKeys key) {
    switch (key) {
    case BaseURLKeys::hostWebURL:
        return Keys::hostWebURL;
    case BaseURLKeys::hostAPIURL:
        return Keys::hostAPIURL;
    case BaseURLKeys::hostAuthenticationURL:
        return Keys::hostAuthenticationURL;
    case BaseURLKeys::hostCGMUploadAPIURL:
        return Keys::hostCGMUploadAPIURL;
    case BaseURLKeys::hostVaultURL:
        return Keys::hostVaultURL;
    case BaseURLKeys::hostVaultV1URL:
        return Keys::hostVaultV1URL;
    case BaseURLKeys::hostCommLibAPIURL:
        return Keys::hostCommLibAPIURL;
    }
    return {};
}

QString BaseURLs::value(BaseURLKeys key) {
    return BundleInfo::value(BaseURLs::key(key));
}

QString Configs::key(ConfigsKeys key) {
    switch (key) {
    case ConfigsKeys::env:
        return Keys::env;
    case ConfigsKeys::helpEmailAddress:
        return Keys::helpEmailAddress;
    case ConfigsKeys::firmwareOutputInLogFile:
        return Keys::firmwareOutputInLogFile;
    case ConfigsKeys::txLogOutputMsgLineCount:
        return Keys::txLogOutputMsgLineCount;
    case ConfigsKeys::txLogExpiredMinutes:
        return Keys::txLogExpiredMinutes;
    case ConfigsKeys::serialDevicePath:
        return Keys::serialDevicePath;
    case ConfigsKeys::bundleShortVersionString:
        return Keys::bundleShortVersionString;
    case ConfigsKeys::bundleVersion:
        return Keys::bundleVersion;
    }
    return {};
}

QString Configs::value(ConfigsKeys key) {
    return BundleInfo::value(Configs::key(key));
}
