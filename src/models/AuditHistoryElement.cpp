#include "models/AuditHistoryElement.h"

AuditHistoryElement AuditHistoryElement::decode(JsonObjectReader& reader) {
    AuditHistoryElement row;
    row.id = reader.requiredInt(QStringLiteral("Id"));
    row.userID = reader.optionalString(QStringLiteral("UserID"));
    row.auditDate = reader.optionalString(QStringLiteral("AuditDate"));
    row.transmitterID = reader.optionalString(QStringLiteral("TransmitterID"));
    row.firmwareID = reader.optionalString(QStringLiteral("FirmwareID"));
    row.errorCode = reader.optionalString(QStringLiteral("ErrorCode"));
    row.failureDescription = reader.optionalString(QStringLiteral("FailureDescription"));
    row.zubStateID = reader.optionalString(QStringLiteral("ZubStateID"));
    row.auditType = reader.optionalString(QStringLiteral("AuditType"));
    row.sensorID = reader.optionalString(QStringLiteral("SensorID"));
    row.appVersion = reader.optionalString(QStringLiteral("AppVersion"));
    row.mmaVersion = reader.optionalString(QStringLiteral("MMAVersion"));
    row.osVersion = reader.optionalString(QStringLiteral("OSVersion"));
    row.computerType = reader.optionalString(QStringLiteral("ComputerType"));
    row.platform = reader.optionalString(QStringLiteral("Platform"));
    row.language = reader.optionalString(QStringLiteral("Language"));
    row.activeFlag = reader.optionalBool(QStringLiteral("ActiveFlag"));
    row.createdBy = reader.optionalString(QStringLiteral("CreatedBy"));
    row.createdDate = reader.optionalString(QStringLiteral("CreatedDate"));
    row.modifiedBy = reader.optionalString(QStringLiteral("ModifiedBy"));
    row.modifiedDate = reader.optionalString(QStringLiteral("ModifiedDate"));
    return row;
}
