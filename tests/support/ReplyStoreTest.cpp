#include "support/ReplyStore.h"
#include "models/LogBytes.h"

#include <gtest/gtest.h>

namespace {

QStringList snapshot(const LogBytes& b) {
    return {b.logVersionBytes,
            b.logLinkStateBytes,
            b.logClassMappingBytes,
            b.logUsageBytesList.join(u'|'),
            b.logReadPatientSettingsBytes,
            b.logTagClassMappingBytes,
            b.logTagClassListBytesList.join(u'|'),
            b.logHeaderMappingBytes,
            b.logInfoHeaderMappingBytes,
            b.logEnumBytes,
            b.logDataBytes,
            b.TxInfoBytes};
}

TEST(ReplyStore, EachReplyLandsInItsOwnPlace) {
    LogBytes& bytes = LogBytes::shared();
    bytes.TxInfoBytes = QStringLiteral("info");
    ReplyStore::emptyLists(bytes);
    for (logCommand command : LogCommands::all()) {
        const bool kept = ReplyStore::store(bytes, command, LogCommands::caseName(command));
        EXPECT_EQ(kept, command != logCommand::logTypes)
            << LogCommands::caseName(command).toStdString();
    }
    // A second listed reply appends; a second single reply overwrites.
    ReplyStore::store(bytes, logCommand::logUsage, QStringLiteral("again"));
    ReplyStore::store(bytes, logCommand::linkState, QStringLiteral("again"));
    EXPECT_EQ(snapshot(bytes).join(u','),
              QStringLiteral("vesrionInfo,again,logClassMapping,logUsage|again,patientSettings,"
                             "tagClassMapping,tagClassList,logHeaderMapping,logInfoMapping,"
                             "logEnumMapping,downloadLogs,info"));

    ReplyStore::emptyLists(bytes);
    EXPECT_TRUE(bytes.logUsageBytesList.isEmpty());
    EXPECT_TRUE(bytes.logTagClassListBytesList.isEmpty());
    EXPECT_EQ(bytes.logDataBytes, QStringLiteral("downloadLogs"));
}

} // namespace
