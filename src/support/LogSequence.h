#pragma once

#include <QtGlobal>

// How the support upload moves the secure channel's message sequence counter. Reply requests
// carry no counter and leave it alone.
namespace LogSequence {

// Before every command request, and before every listed command is written.
constexpr qint64 beforeCommand(qint64 counter) {
    return counter + 1;
}

// A list answer of n commands: the request's own step counts as the first of them, so an empty
// list takes that step back.
constexpr qint64 afterListAnswer(qint64 counter, qsizetype listed) {
    return counter + listed - 1;
}

} // namespace LogSequence
