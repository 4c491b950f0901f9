#include "support/HeaderVersion.h"

#include <QRegularExpression>

QString replaceTMVersion(const QString& csv, const std::optional<QString>& appVersion) {
    // Unicode digits count, as they do for the platform's regular expressions.
    static const QRegularExpression entry(QStringLiteral("TMVERSION,([\\d.]+)"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    if (!entry.isValid())
        return csv;
    const QString version =
        appVersion && !appVersion->isEmpty() ? *appVersion : QStringLiteral("x.x.x");
    const QString replacement = QStringLiteral("QXJVERSION,") + version;

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
