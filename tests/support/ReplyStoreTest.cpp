#include "support/ReplyStore.h"
#include "models/LogBytes.h"

#include <gtest/gtest.h>

namespace {

QByteArrayList snapshot(const LogBytes& b) {
    return {b.logVersionBytes,
            b.logLinkStateBytes,
            b.logClassMappingBytes,
            b.logUsageBytesList.join('|'),
            b.logReadPatientSettingsBytes,
            b.logTagClassMappingBytes,
            b.logTagClassListBytesList.join('|'),
            b.logHeaderMappingBytes,
            b.logInfoHeaderMappingBytes,
            b.logEnumBytes,
            b.logDataBytes,
            b.TxInfoBytes};
}

TEST(ReplyStore, EachReplyLandsInItsOwnPlace) {
    LogBytes& bytes = LogBytes::shared();
    bytes.TxInfoBytes = "info";
    ReplyStore::emptyLists(bytes);
    for (logCommand command : LogCommands::all()) {
        const bool kept =
            ReplyStore::store(bytes, command, LogCommands::caseName(command).toLatin1());
        EXPECT_EQ(kept, command != logCommand::logTypes)
            << LogCommands::caseName(command).toStdString();
    }
    // A second listed reply appends; a second single reply overwrites.
    ReplyStore::store(bytes, logCommand::logUsage, "again");
    ReplyStore::store(bytes, logCommand::linkState, "again");
    EXPECT_EQ(snapshot(bytes).join(','),
              QByteArray("vesrionInfo,again,logClassMapping,logUsage|again,patientSettings,"
                         "tagClassMapping,tagClassList,logHeaderMapping,logInfoMapping,"
                         "logEnumMapping,downloadLogs,info"));

    ReplyStore::emptyLists(bytes);
    EXPECT_TRUE(bytes.logUsageBytesList.isEmpty());
    EXPECT_TRUE(bytes.logTagClassListBytesList.isEmpty());
    EXPECT_EQ(bytes.logDataBytes, "downloadLogs");

    // Once a run has ended its last log's data goes as well; the other replies stay.
    ReplyStore::store(bytes, logCommand::logUsage, "listed");
    ReplyStore::releaseRun(bytes);
    EXPECT_EQ(snapshot(bytes).join(','),
              QByteArray("vesrionInfo,again,logClassMapping,,patientSettings,tagClassMapping,,"
                         "logHeaderMapping,logInfoMapping,logEnumMapping,,info"));
}

} // namespace
