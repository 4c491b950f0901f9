#pragma once

#include "support/LogCommand.h"

#include <QJsonValue>
#include <QString>
#include <QStringList>

// Decisions about the transmitter's log ids, as the cloud lists them in its log-types answer.
namespace LogIds {

// The id as a signed 64-bit decimal: an optional "+" or "-" and ASCII digits only. Anything
// else (letters, blanks, empty text, out of range) counts as 0.
qint64 numericValue(const QString& id);

// Ascending by numeric value; ids of equal value keep the order they came in.
QStringList sorted(QStringList ids);

// The log name sent back to the cloud for an id's entry: a JSON string unchanged, any other
// value in its JSON text form (5, 2.5, true, null).
QString nameText(const QJsonValue& value);

// The address of one per-log exchange: the log info header mapping takes the id as a path
// segment, the others as the "logType" query value; percent-encoded either way (plain digits
// stay as they are).
QString exchangeUrl(const QString& path, const QString& id, logCommand command);

} // namespace LogIds
