#include "support/ReplyStore.h"

#include "models/LogBytes.h"

namespace {

QString* slotOf(LogBytes& bytes, logCommand command) {
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

QStringList* listOf(LogBytes& bytes, logCommand command) {
    if (command == logCommand::logUsage)
        return &bytes.logUsageBytesList;
    if (command == logCommand::tagClassList)
        return &bytes.logTagClassListBytesList;
    return nullptr;
}

} // namespace

bool ReplyStore::store(LogBytes& bytes, logCommand command, const QString& base64) {
    if (QString* slot = slotOf(bytes, command)) {
        *slot = base64;
        return true;
    }
    if (QStringList* list = listOf(bytes, command)) {
        list->append(base64);
        return true;
    }
    return false;
}

void ReplyStore::emptyLists(LogBytes& bytes) {
    bytes.logTagClassListBytesList.clear();
    bytes.logUsageBytesList.clear();
}
