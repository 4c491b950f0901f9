#pragma once

#include <QString>

namespace SaveFailure {

// The alert text of a file that could not be saved: what could not be saved, then the advice to
// free disk space where the cause was room (a full disk, a quota, a file-size limit), and
// otherwise the system's reason (a folder, a FIFO, a device or a link in the file's place, a
// read-only folder, a permission).
// noRoom and reason as DurableFile::Result gives them.
QString alertText(const QString& whatCouldNotBeSaved, const QString& reason, bool noRoom);

} // namespace SaveFailure
