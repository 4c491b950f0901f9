#pragma once

#include "support/LogCommand.h"

#include <QByteArray>

class LogBytes;

// Where the replies of a support upload are kept until the cloud is sent them.
namespace ReplyStore {

// Keeps the base64 text of a complete reply: overwrites the command's slot, or appends to its
// list for a listed command. The log-types reply has no slot: returns false and keeps nothing.
bool store(LogBytes& bytes, logCommand command, QByteArray base64);

// Empties the tag-class list and then the log-usage list.
void emptyLists(LogBytes& bytes);

// A run that has ended no longer needs its last log's data, which may be tens of megabytes:
// the lists are emptied and the log-data reply released.
void releaseRun(LogBytes& bytes);

} // namespace ReplyStore
