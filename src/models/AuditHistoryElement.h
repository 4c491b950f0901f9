#pragma once

#include "models/JsonDecoder.h"

#include <QString>

#include <optional>

// One audit-history row as the cloud lists it; only "Id" is required.
struct AuditHistoryElement {
    int id = 0;                                // "Id"
    std::optional<QString> userID;             // "UserID"
    std::optional<QString> auditDate;          // "AuditDate"
    std::optional<QString> transmitterID;      // "TransmitterID"
    std::optional<QString> firmwareID;         // "FirmwareID"
    std::optional<QString> errorCode;          // "ErrorCode": the seven-digit code
    std::optional<QString> failureDescription; // "FailureDescription"
    std::optional<QString> zubStateID;         // "ZubStateID"
    std::optional<QString> auditType;          // "AuditType"
    std::optional<QString> sensorID;           // "SensorID"
    std::optional<QString> appVersion;         // "AppVersion"
    std::optional<QString> mmaVersion;         // "MMAVersion"
    std::optional<QString> osVersion;          // "OSVersion"
    std::optional<QString> computerType;       // "ComputerType"
    std::optional<QString> platform;           // "Platform"
    std::optional<QString> language;           // "Language"
    std::optional<bool> activeFlag;            // "ActiveFlag"
    std::optional<QString> createdBy;          // "CreatedBy"
    std::optional<QString> createdDate;        // "CreatedDate"
    std::optional<QString> modifiedBy;         // "ModifiedBy"
    std::optional<QString> modifiedDate;       // "ModifiedDate"

    static AuditHistoryElement decode(JsonObjectReader& reader);
};
