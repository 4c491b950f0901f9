#include "models/UserFirmwareInfo.h"

UserFirmwareInfo UserFirmwareInfo::decode(JsonObjectReader& reader) {
    UserFirmwareInfo info;
    info.id = reader.requiredString(QStringLiteral("Id"));
    info.transmitterID = reader.optionalInt(QStringLiteral("TransmitterID"));
    info.transmitterVersionNo = reader.optionalString(QStringLiteral("TransmitterVersionNo"));
    info.sensorID = reader.optionalString(QStringLiteral("SensorID"));
    info.insertionDateTime = reader.optionalString(QStringLiteral("InsertionDateTime"));
    info.appVersion = reader.optionalString(QStringLiteral("AppVersion"));
    return info;
}
