#pragma once

#include "doubles/LoopbackCloud.h"
#include "models/EuaMessage.h"

#include <QTemporaryDir>

// The application configured for a loopback cloud, for tests of screens: an information file
// whose cloud addresses all point at the cloud, an audit-record route that answers, the
// computer online, and the catalogue as the test sets it. Everything goes back on destruction.
class CloudEnvironment {
public:
    CloudEnvironment();
    ~CloudEnvironment();
    CloudEnvironment(const CloudEnvironment&) = delete;
    CloudEnvironment& operator=(const CloudEnvironment&) = delete;

    LoopbackCloud cloud;

    // The audit records the cloud has received, in order, by code.
    QStringList auditCodes() const;

    // A catalogue entry whose texts name the code.
    static StructEuaMessage entry(const QString& code);
    static QString userText(const QString& code);

private:
    QTemporaryDir dir_;
};
