#include "support/HelpEmail.h"

#include "core/AppConstants.h"

namespace Help = AppConstants::Help;

HelpEmail HelpEmail::message(HelpMenuType kind, const QString& messageText, const QString& dateTime,
                             const QString& systemInfo, const QString& activityCsvBase64) {
    HelpEmail email;
    email.subject = kind == HelpMenuType::Other ? Help::subjectOther : Help::subjectTroubleShooting;
    email.body = Help::messageBodyIntro + dateTime + QStringLiteral("\n\n") + Help::messageHeading +
                 messageText + systemInfo;
    email.attachment = activityCsvBase64;
    email.fileName = Help::activityFileName;
    return email;
}

HelpEmail HelpEmail::paperCopy(const HelpAddress& shipTo, const QString& dateTime,
                               const QString& systemInfo) {
    const QChar newline(u'\n');
    HelpEmail email;
    email.subject = Help::subjectRequestCopy;
    email.body = Help::requestCopyBodyIntro + dateTime + QStringLiteral("\n\n") +
                 Help::shipToHeading + shipTo.firstName + u' ' + shipTo.lastName + newline;
    for (const QString* line : {&shipTo.address, &shipTo.addressDetail, &shipTo.suite, &shipTo.city,
                                &shipTo.state, &shipTo.zip})
        email.body += *line + newline;
    email.body += systemInfo;
    return email;
}
