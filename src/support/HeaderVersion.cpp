#include "support/HeaderVersion.h"

#include "core/AppConstants.h"
#include "platform/BundleInfo.h"

#include <QRegularExpression>

QString replaceTMVersion(const QString& csv, const std::optional<QString>& appVersion) {
    // Unicode digits count, as they do for the platform's regular expressions.
    namespace S = AppConstants::SupportUpload;
    static const QRegularExpression entry(S::tmVersionPattern,
                                          QRegularExpression::UseUnicodePropertiesOption);
    if (!entry.isValid())
        return csv;
    const QString replacement = appVersion && !appVersion->isEmpty()
                                    ? S::qxjVersionPrefix + *appVersion
                                    : S::qxjVersionUnknown;

    // Built by hand so the version is inserted literally, never read as a back-reference.
    QString result;
    qsizetype copied = 0;
    for (auto it = entry.globalMatch(csv); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += QStringView(csv).mid(copied, match.capturedStart() - copied);
        result += replacement;
        copied = match.capturedEnd();
    }
    result += QStringView(csv).mid(copied);
    return result;
}

QString replaceTMVersion(const QString& csv) {
    return replaceTMVersion(
        csv, BundleInfo::find(AppConstants::Configurations::bundleShortVersionString));
}
