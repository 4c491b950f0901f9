#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

class LoopbackCloud;
class PtyTransmitter;

// The simulator's script: what the cloud and the transmitter answer, as data.
//
//   {
//     "routes": [
//       {"method": "GET", "path": "/api/zub/GetEuaMessages", "json": [ ...catalogue... ]},
//       {"method": "POST", "path": "/api/zub/SetZubAuditHistory", "status": 200, "text": ""},
//       {"path": "/slow", "text": "late", "delayMs": 500}
//     ],
//     "transmitter": [
//       {"endsWith": "01 02 03", "reply": ["10 02 00", "aa bb 00 00"], "delayMs": 20},
//       {"nth": 0, "reply": ["..."]},
//       {"any": true, "reply": ["..."]}
//     ]
//   }
//
// A route answers its method (every method when "method" is missing) and path with "status"
// (200 when missing) and either a "json" value or a "text" body (neither: an empty body).
// A transmitter rule answers a command that ends with the given bytes, the n-th command
// (from 0), or any command, with its reply chunks, each after "delayMs". Bytes are written as
// hexadecimal digits, blanks allowed between them. Keys starting with "_" are comments.
namespace SimScript {

// Reads and parses a script file; on failure returns nothing and sets error.
std::optional<QJsonObject> read(const QString& path, QString* error);

// Installs the script's routes on the cloud and its rules on the transmitter. Checks the
// whole script first and installs nothing when any part of it is wrong; the message then
// says which entry and why.
std::optional<QString> apply(const QJsonObject& script, LoopbackCloud& cloud,
                             PtyTransmitter& transmitter);

// Hexadecimal digits (blanks ignored) to bytes; nothing for an odd count or another character.
std::optional<QByteArray> bytesFromHex(const QString& text);

} // namespace SimScript
