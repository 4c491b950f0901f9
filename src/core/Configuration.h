#pragma once

#include <QString>

// Configuration read from the application's information file (see platform/BundleInfo.h):
// the cloud's base addresses and a few settings. A missing key gives empty text.

enum class BaseURLKeys {
    hostWebURL,            // "HOSTWEBURL": web pages (support upload, error-log upload)
    hostAPIURL,            // "HOSTAPIURL": portal API
    hostAuthenticationURL, // "HOSTAUTHENTICATIONURL": token service
    hostCGMUploadAPIURL,   // "HOSTCGMUPLOADAPIURL"
    hostVaultURL,          // "HOSTVAULTURL"
    hostVaultV1URL,        // "HOSTVAULTV1URL"
    hostCommLibAPIURL,     // "HOSTCOMMLIBAPIURL": comm-library service
};

enum class ConfigsKeys {
    env,                     // "ENV"
    helpEmailAddress,        // "HELPEMAILADDR"
    firmwareOutputInLogFile, // "FIRMWARE_OUTPUT_IN_LOG_FILE"
    txLogOutputMsgLineCount, // "TX_LOG_OUTPUT_MSG_LINE_COUNT"
    txLogExpiredMinutes,     // "TX_LOG_EXPIRED_MINUTES"
    serialDevicePath,        // "SERIALDEVICEPATH": a device to open instead of searching the cradle
    bundleShortVersionString, // "CFBundleShortVersionString"
    bundleVersion,            // "CFBundleVersion"
};

namespace BaseURLs {
QString key(BaseURLKeys key);
QString value(BaseURLKeys key);
} // namespace BaseURLs

namespace Configs {
QString key(ConfigsKeys key);
QString value(ConfigsKeys key);
} // namespace Configs
