#include "support/HelpRequests.h"

#include "core/AppConstants.h"

namespace Help = AppConstants::Help;

QVariantMap HelpRequests::sendEmailParameters(const QString& toAddress, const QString& subject,
                                              const QString& body,
                                              const std::optional<QString>& attachment,
                                              const std::optional<QString>& fileName) {
    QVariantMap parameters{
        {Help::keyToAddress, toAddress}, {Help::keySubject, subject}, {Help::keyBody, body}};
    if (fileName) {
        parameters.insert(Help::keyFileName, *fileName);
        parameters.insert(Help::keyFileStream, attachment.value_or(QString()));
    }
    return parameters;
}

QVariantMap HelpRequests::configLookupParameters(const QString& name) {
    return {{Help::keyName, name}};
}

QVariantMap HelpRequests::auditHistoryParameters(const QString& userId) {
    return {{Help::keyUserId, userId}};
}

std::optional<QString>
HelpRequests::firstConfigValue(const QList<StructGetFromZubAppConfig>& rows) {
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first().Value;
}
