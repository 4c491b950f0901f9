#include "support/LogCommand.h"

#include <array>

namespace {
using enum ReplyFraming;
using enum ReplyDestination;

struct Entry {
    const char* name;
    LogCommandRule rule;
};

constexpr double shortQuiet = LogCommands::shortQuietPeriodSeconds;
constexpr double longQuiet = LogCommands::logDataQuietPeriodSeconds;

// Indexed by the enumeration's value.
constexpr std::array<Entry, LogCommands::count> table{{
    {"vesrionInfo", {lengthHeader, 0.0, false, singleSlot}},
    {"linkState", {lengthHeader, 0.0, false, singleSlot}},
    {"logClassMapping", {lengthHeader, 0.0, false, singleSlot}},
    {"logUsage", {lengthHeader, 0.0, false, appendedToList}},
    {"patientSettings", {lengthHeader, 0.0, false, singleSlot}},
    {"tagClassMapping", {lengthHeader, 0.0, false, singleSlot}},
    {"tagClassList", {lengthHeader, 0.0, false, appendedToList}},
    {"logTypes", {quietPeriod, shortQuiet, false, handedOver}},
    {"logHeaderMapping", {quietPeriod, shortQuiet, true, singleSlot}},
    {"logInfoMapping", {quietPeriod, shortQuiet, true, singleSlot}},
    {"logEnumMapping", {quietPeriod, shortQuiet, true, singleSlot}},
    {"downloadLogs", {quietPeriod, longQuiet, true, singleSlot}},
}};

const Entry& entry(logCommand command) {
    return table.at(static_cast<std::size_t>(command));
}
} // namespace

const LogCommandRule& LogCommands::rule(logCommand command) {
    return entry(command).rule;
}

QString LogCommands::caseName(logCommand command) {
    return QString::fromLatin1(entry(command).name);
}

std::optional<QByteArray> LogCommands::replyBody(logCommand command, const QByteArray& frame) {
    if (rule(command).keepsHeader)
        return frame;
    if (frame.size() < replyHeaderSize)
        return std::nullopt;
    return frame.mid(replyHeaderSize);
}

const std::array<logCommand, LogCommands::count>& LogCommands::all() {
    static const std::array<logCommand, count> commands = [] {
        std::array<logCommand, count> list{};
        for (int i = 0; i < count; ++i)
            list[static_cast<std::size_t>(i)] = static_cast<logCommand>(i);
        return list;
    }();
    return commands;
}
