#pragma once

#include "models/StructGetFromZubAppConfig.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>

// The bodies of the help screen's portal requests, and how their answers are read.
namespace HelpRequests {

// The send-e-mail request: "toAddress", "subject" and "body"; with a file name also
// "FileName" and "FileStream" (the attachment, or empty text when there is none).
QVariantMap sendEmailParameters(const QString& toAddress, const QString& subject,
                                const QString& body, const std::optional<QString>& attachment,
                                const std::optional<QString>& fileName);

// A look-up of one application-configuration row by name: {"Name": name}.
QVariantMap configLookupParameters(const QString& name);

// The audit-history request for a user: {"userid": id}.
QVariantMap auditHistoryParameters(const QString& userId);

// The value a look-up answered: the first row's "Value". Nothing when the answer holds no
// rows or the first row has no value.
std::optional<QString> firstConfigValue(const QList<StructGetFromZubAppConfig>& rows);

} // namespace HelpRequests
