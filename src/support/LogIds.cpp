#include "support/LogIds.h"

#include "core/AppConstants.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QUrl>

#include <algorithm>

qint64 LogIds::numericValue(const QString& id) {
    QStringView digits(id);
    if (digits.startsWith(u'+') || digits.startsWith(u'-'))
        digits = digits.mid(1);
    if (digits.isEmpty())
        return 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return 0;
    }
    bool ok = false;
    const qint64 value = QStringView(id).toLongLong(&ok, 10);
    return ok ? value : 0;
}

QStringList LogIds::sorted(QStringList ids) {
    std::stable_sort(ids.begin(), ids.end(), [](const QString& a, const QString& b) {
        return numericValue(a) < numericValue(b);
    });
    return ids;
}

QString LogIds::nameText(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Double: {
        const double number = value.toDouble();
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    }
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("null");
}

QString LogIds::exchangeUrl(const QString& path, const QString& id, logCommand command) {
    // Everything but the unreserved characters is escaped, so an id can neither leave its
    // segment or value ("/", "?", "&", "#") nor break the address (blanks, "%", non-ASCII).
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(id));
    if (command == logCommand::logInfoMapping)
        return path + u'/' + encoded;
    return path + AppConstants::CommLibKeys::logTypeQuery + encoded;
}
