#include "support/ReplyStore.h"

#include "models/LogBytes.h"

#include <utility>

namespace {

QByteArray* slotOf(LogBytes& bytes, logCommand command) {
    switch (command) {
    case logCommand::vesrionInfo:
        return &bytes.logVersionBytes;
    case logCommand::linkState:
        return &bytes.logLinkStateBytes;
    case logCommand::logClassMapping:
        return &bytes.logClassMappingBytes;
    case logCommand::patientSettings:
        return &bytes.logReadPatientSettingsBytes;
    case logCommand::tagClassMapping:
        return &bytes.logTagClassMappingBytes;
    case logCommand::logHeaderMapping:
        return &bytes.logHeaderMappingBytes;
    case logCommand::logInfoMapping:
        return &bytes.logInfoHeaderMappingBytes;
    case logCommand::logEnumMapping:
        return &bytes.logEnumBytes;
    case logCommand::downloadLogs:
        return &bytes.logDataBytes;
    case logCommand::logUsage:
    case logCommand::tagClassList:
    case logCommand::logTypes:
        break;
    }
    return nullptr;
}

QByteArrayList* listOf(LogBytes& bytes, logCommand command) {
    if (command == logCommand::logUsage)
        return &bytes.logUsageBytesList;
    if (command == logCommand::tagClassList)
        return &bytes.logTagClassListBytesList;
    return nullptr;
}

} // namespace

bool ReplyStore::store(LogBytes& bytes, logCommand command, QByteArray base64) {
    if (QByteArray* slot = slotOf(bytes, command)) {
        *slot = std::move(base64);
        return true;
    }
    if (QByteArrayList* list = listOf(bytes, command)) {
        list->append(std::move(base64));
        return true;
    }
    return false;
}

void ReplyStore::emptyLists(LogBytes& bytes) {
    bytes.logTagClassListBytesList.clear();
    bytes.logUsageBytesList.clear();
}

void ReplyStore::releaseRun(LogBytes& bytes) {
    emptyLists(bytes);
    bytes.logDataBytes = QByteArray();
}
