#pragma once

#include <QDir>
#include <QString>

class LoopbackCloud;

// The portal's help requests as the simulator answers them:
// - the application-configuration look-up answers the rows "ZubSupportEmail" and
//   "USUserGuideLink" with the values below, any other name with an empty list;
// - the audit-history request answers a few rows for the user asked about;
// - the send-e-mail request keeps each e-mail in the output folder as
//   "email-<n>.txt" (recipient, subject, a blank line, the body), with its attachment decoded
//   beside it as "email-<n>-<file name>", and answers 200; a body that is not a JSON object
//   with "toAddress", "subject" and "body" texts is refused with 400 and kept nowhere.
namespace HelpSimRoutes {

inline const QString supportEmail = QStringLiteral("support@ostrivane.example");
inline const QString userGuideLink = QStringLiteral("https://www.ostrivane.example/pellory/guide");

void install(LoopbackCloud& cloud, const QDir& outputDir);

} // namespace HelpSimRoutes
