#pragma once

#include "models/AuditHistoryElement.h"
#include "models/UserFirmwareInfo.h"

#include <QList>

#include <optional>

// The signed-in user's records as the cloud last returned them. Main thread only.
class GlobalUserManager {
public:
    static GlobalUserManager& shared();

    std::optional<UserFirmwareInfo> currentUserFirmwareInfo;
    std::optional<QList<AuditHistoryElement>> auditHistory;

    // Forgets both records (sign-out).
    void clear() { *this = GlobalUserManager(); }
};
