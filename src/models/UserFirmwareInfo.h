#pragma once

#include "models/JsonDecoder.h"

#include <QString>

#include <optional>

// The signed-in user's firmware record as the cloud returns it.
struct UserFirmwareInfo {
    QString id;                                  // "Id": the user's identifier
    std::optional<int> transmitterID;            // "TransmitterID"
    std::optional<QString> transmitterVersionNo; // "TransmitterVersionNo"
    std::optional<QString> sensorID;             // "SensorID"
    std::optional<QString> insertionDateTime;    // "InsertionDateTime"
    std::optional<QString> appVersion;           // "AppVersion": the MMA version

    static UserFirmwareInfo decode(JsonObjectReader& reader);
};
