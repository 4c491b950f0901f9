#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// The twelve exchanges of a support upload, in the order the download runs them. The value of
// the exchange in flight decides how the transmitter's reply is framed and where it is kept.
enum class logCommand {
    vesrionInfo,
    linkState,
    logClassMapping,
    logUsage,
    patientSettings,
    tagClassMapping,
    tagClassList,
    logTypes,
    logHeaderMapping,
    logInfoMapping,
    logEnumMapping,
    downloadLogs,
};

// How the end of a reply is found: by the length in its 3-byte header, or by a period in which
// no further byte arrives.
enum class ReplyFraming { lengthHeader, quietPeriod };

// What becomes of a complete reply.
enum class ReplyDestination {
    singleSlot,     // overwrites the command's text slot
    appendedToList, // one entry per listed command, in sending order
    handedOver,     // not kept: passed straight on to the log-types request
};

struct LogCommandRule {
    ReplyFraming framing;
    double quietPeriodSeconds; // 0 for length-framed commands
    bool keepsHeader;          // the stored text starts with the 3 header bytes
    ReplyDestination destination;
};

namespace LogCommands {
inline constexpr int count = 12;
// Type byte and little-endian 16-bit length that open every transmitter reply.
inline constexpr qsizetype replyHeaderSize = 3;
inline constexpr double shortQuietPeriodSeconds = 3.0;
inline constexpr double logDataQuietPeriodSeconds = 10.0;

const LogCommandRule& rule(logCommand command);
// The case name, as written in console trace lines.
QString caseName(logCommand command);
// The bytes of a complete reply that are kept or handed on: the whole reply where the rule keeps
// the header, else everything after the 3 header bytes (trailing bytes included). No value for
// a reply too short to hold the header it should lose.
std::optional<QByteArray> replyBody(logCommand command, const QByteArray& frame);
// Every command, in declaration order.
const std::array<logCommand, count>& all();
} // namespace LogCommands
