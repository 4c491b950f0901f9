#include "core/SaveFailure.h"

#include "core/AppConstants.h"

QString SaveFailure::alertText(const QString& whatCouldNotBeSaved, const QString& reason,
                               bool noRoom) {
    if (noRoom)
        return whatCouldNotBeSaved + QStringLiteral(". ") +
               AppConstants::Alerts::descriptions::freeDiskSpace;
    return whatCouldNotBeSaved + QStringLiteral(": ") + reason + u'.';
}
