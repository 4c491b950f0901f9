#include "FramerRecorder.h"
#include "doubles/WaitFor.h"

#include "models/LogBytes.h"
#include "platform/TimeScale.h"
#include "support/ReplyFramer.h"
#include "support/ReplyStore.h"

#include <gtest/gtest.h>

namespace {

QStringList snapshot(const LogBytes& b) {
    return {b.TxInfoBytes,
            b.logVersionBytes,
            b.logLinkStateBytes,
            b.logClassMappingBytes,
            b.logReadPatientSettingsBytes,
            b.logTagClassMappingBytes,
            b.logHeaderMappingBytes,
            b.logInfoHeaderMappingBytes,
            b.logEnumBytes,
            b.logDataBytes,
            b.logUsageBytesList.join(u'|'),
            b.logTagClassListBytesList.join(u'|')};
}

class ReplyStoreTest : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear() {
        LogBytes& b = LogBytes::shared();
        for (QString* text :
             {&b.TxInfoBytes, &b.logVersionBytes, &b.logLinkStateBytes, &b.logClassMappingBytes,
              &b.logReadPatientSettingsBytes, &b.logTagClassMappingBytes, &b.logHeaderMappingBytes,
              &b.logInfoHeaderMappingBytes, &b.logEnumBytes, &b.logDataBytes})
            text->clear();
        ReplyStore::emptyLists(b);
    }
    LogBytes& bytes = LogBytes::shared();
};

TEST_F(ReplyStoreTest, EachReplyLandsInItsOwnPlace) {
    const std::vector<std::pair<logCommand, QString LogBytes::*>> places = {
        {logCommand::vesrionInfo, &LogBytes::logVersionBytes},
        {logCommand::linkState, &LogBytes::logLinkStateBytes},
        {logCommand::logClassMapping, &LogBytes::logClassMappingBytes},
        {logCommand::patientSettings, &LogBytes::logReadPatientSettingsBytes},
        {logCommand::tagClassMapping, &LogBytes::logTagClassMappingBytes},
        {logCommand::logHeaderMapping, &LogBytes::logHeaderMappingBytes},
        {logCommand::logInfoMapping, &LogBytes::logInfoHeaderMappingBytes},
        {logCommand::logEnumMapping, &LogBytes::logEnumBytes},
        {logCommand::downloadLogs, &LogBytes::logDataBytes},
    };
    for (const auto& [command, slot] : places) {
        const QStringList before = snapshot(bytes);
        const QString text = QStringLiteral("reply of ") + LogCommands::caseName(command);
        ASSERT_TRUE(ReplyStore::store(bytes, command, text));
        EXPECT_EQ(bytes.*slot, text);
        // Exactly one place changed.
        const QStringList after = snapshot(bytes);
        int changed = 0;
        for (qsizetype i = 0; i < after.size(); ++i)
            changed += after[i] != before[i] ? 1 : 0;
        EXPECT_EQ(changed, 1) << LogCommands::caseName(command).toStdString();
    }
    // A later reply of the same command overwrites.
    ReplyStore::store(bytes, logCommand::linkState, QStringLiteral("again"));
    EXPECT_EQ(bytes.logLinkStateBytes, QStringLiteral("again"));
}

TEST_F(ReplyStoreTest, ListedRepliesAppendInOrderAndLogTypesAreNotKept) {
    for (const char* text : {"u1", "u2", "u3"})
        ReplyStore::store(bytes, logCommand::logUsage, QString::fromLatin1(text));
    ReplyStore::store(bytes, logCommand::tagClassList, QStringLiteral("t1"));
    EXPECT_EQ(bytes.logUsageBytesList,
              QStringList({QStringLiteral("u1"), QStringLiteral("u2"), QStringLiteral("u3")}));
    EXPECT_EQ(bytes.logTagClassListBytesList, QStringList({QStringLiteral("t1")}));

    const QStringList before = snapshot(bytes);
    EXPECT_FALSE(ReplyStore::store(bytes, logCommand::logTypes, QStringLiteral("types")));
    EXPECT_EQ(snapshot(bytes), before);

    bytes.logVersionBytes = QStringLiteral("kept");
    ReplyStore::emptyLists(bytes);
    EXPECT_TRUE(bytes.logUsageBytesList.isEmpty());
    EXPECT_TRUE(bytes.logTagClassListBytesList.isEmpty());
    EXPECT_EQ(bytes.logVersionBytes, QStringLiteral("kept"));
}

TEST_F(ReplyStoreTest, ChunkedReplyIsStoredAsBase64OfItsBody) {
    ReplyFramer framer;
    QObject::connect(&framer, &ReplyFramer::replyReady, &framer,
                     [this](logCommand command, const QByteArray& frame) {
                         const auto body = LogCommands::replyBody(command, frame);
                         ASSERT_TRUE(body);
                         ReplyStore::store(bytes, command, QString::fromLatin1(body->toBase64()));
                     });
    const QByteArray payload("0123456789");
    const QByteArray frame = replyFrame(0x21, payload);
    framer.setCurrentCommand(logCommand::linkState);
    framer.commandWritten();
    framer.receive(frame.left(2));
    framer.receive(frame.mid(2, 1));
    EXPECT_TRUE(bytes.logLinkStateBytes.isEmpty());
    framer.receive(frame.mid(3));
    EXPECT_EQ(bytes.logLinkStateBytes, QString::fromLatin1(payload.toBase64()));

    // A log mapping keeps the header in what it stores.
    TimeScale::setFactor(0.01);
    framer.setCurrentCommand(logCommand::logHeaderMapping);
    framer.commandWritten();
    framer.receive(frame.left(5));
    framer.receive(frame.mid(5));
    const bool stored = waitFor([this] { return !bytes.logHeaderMappingBytes.isEmpty(); }, 3000);
    TimeScale::setFactor(1.0);
    ASSERT_TRUE(stored);
    EXPECT_EQ(bytes.logHeaderMappingBytes, QString::fromLatin1(frame.toBase64()));
}

} // namespace
