#include "doubles/SimScript.h"

#include "doubles/LoopbackCloud.h"
#include "doubles/PtyTransmitter.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>

#include <cctype>
#include <functional>

namespace {

using Install = std::function<void(LoopbackCloud&, PtyTransmitter&)>;

// Checks one entry's keys: known ones only (comments aside), the required ones present.
std::optional<QString> checkKeys(const QJsonObject& entry, const QSet<QString>& known) {
    for (auto it = entry.begin(); it != entry.end(); ++it) {
        if (!it.key().startsWith(QLatin1Char('_')) && !known.contains(it.key()))
            return QStringLiteral("unknown key \"%1\"").arg(it.key());
    }
    return std::nullopt;
}

std::optional<int> nonNegativeInt(const QJsonObject& entry, const QString& key, int fallback) {
    if (!entry.contains(key))
        return fallback;
    const QJsonValue value = entry.value(key);
    if (!value.isDouble() || value.toDouble() < 0 || value.toDouble() != value.toInt())
        return std::nullopt;
    return value.toInt();
}

std::optional<QString> parseRoute(const QJsonValue& value, Install* install) {
    if (!value.isObject())
        return QStringLiteral("expected an object");
    const QJsonObject entry = value.toObject();
    if (auto error = checkKeys(entry, {QStringLiteral("method"), QStringLiteral("path"),
                                       QStringLiteral("status"), QStringLiteral("json"),
                                       QStringLiteral("text"), QStringLiteral("delayMs")}))
        return error;
    const QJsonValue path = entry.value(QStringLiteral("path"));
    if (!path.isString() || !path.toString().startsWith(QLatin1Char('/')))
        return QStringLiteral("\"path\" must be text starting with \"/\"");
    const QJsonValue method = entry.value(QStringLiteral("method"));
    if (!method.isUndefined() && !method.isString())
        return QStringLiteral("\"method\" must be text");
    const std::optional<int> status = nonNegativeInt(entry, QStringLiteral("status"), 200);
    if (!status || *status < 100 || *status > 599)
        return QStringLiteral("\"status\" must be an HTTP status");
    const std::optional<int> delay = nonNegativeInt(entry, QStringLiteral("delayMs"), 0);
    if (!delay)
        return QStringLiteral("\"delayMs\" must be a whole number of milliseconds");
    const bool hasJson = entry.contains(QStringLiteral("json"));
    const QJsonValue text = entry.value(QStringLiteral("text"));
    if (hasJson && !text.isUndefined())
        return QStringLiteral("give \"json\" or \"text\", not both");
    if (!text.isUndefined() && !text.isString())
        return QStringLiteral("\"text\" must be text");

    LoopbackCloud::Reply reply;
    if (hasJson) {
        const QJsonValue json = entry.value(QStringLiteral("json"));
        if (json.isArray())
            reply = LoopbackCloud::Reply::json(json.toArray(), *status);
        else if (json.isObject())
            reply = LoopbackCloud::Reply::json(json.toObject(), *status);
        else
            return QStringLiteral("\"json\" must be an object or a list");
    } else {
        reply = LoopbackCloud::Reply::text(text.toString().toUtf8(), *status);
    }
    reply.after(*delay);
    *install = [m = method.toString(), p = path.toString(),
                reply](LoopbackCloud& cloud, PtyTransmitter&) { cloud.route(m, p, reply); };
    return std::nullopt;
}

std::optional<QString> parseRule(const QJsonValue& value, Install* install) {
    if (!value.isObject())
        return QStringLiteral("expected an object");
    const QJsonObject entry = value.toObject();
    if (auto error = checkKeys(entry, {QStringLiteral("endsWith"), QStringLiteral("nth"),
                                       QStringLiteral("any"), QStringLiteral("reply"),
                                       QStringLiteral("delayMs")}))
        return error;
    const int matchers = int(entry.contains(QStringLiteral("endsWith"))) +
                         int(entry.contains(QStringLiteral("nth"))) +
                         int(entry.contains(QStringLiteral("any")));
    if (matchers != 1)
        return QStringLiteral("give exactly one of \"endsWith\", \"nth\" and \"any\"");
    const QJsonValue replyValue = entry.value(QStringLiteral("reply"));
    if (!replyValue.isArray())
        return QStringLiteral("\"reply\" must be a list of hexadecimal chunks");
    QList<QByteArray> chunks;
    for (const QJsonValue& chunk : replyValue.toArray()) {
        const std::optional<QByteArray> bytes =
            chunk.isString() ? SimScript::bytesFromHex(chunk.toString()) : std::nullopt;
        if (!bytes)
            return QStringLiteral("\"reply\" must be a list of hexadecimal chunks");
        chunks.append(*bytes);
    }
    const std::optional<int> delay = nonNegativeInt(entry, QStringLiteral("delayMs"), 0);
    if (!delay)
        return QStringLiteral("\"delayMs\" must be a whole number of milliseconds");

    PtyTransmitter::Rule rule;
    if (entry.contains(QStringLiteral("endsWith"))) {
        const QJsonValue ending = entry.value(QStringLiteral("endsWith"));
        const std::optional<QByteArray> bytes =
            ending.isString() ? SimScript::bytesFromHex(ending.toString()) : std::nullopt;
        if (!bytes || bytes->isEmpty())
            return QStringLiteral("\"endsWith\" must be hexadecimal bytes");
        rule = PtyTransmitter::whenEndsWith(*bytes, chunks, *delay);
    } else if (entry.contains(QStringLiteral("nth"))) {
        const std::optional<int> n = nonNegativeInt(entry, QStringLiteral("nth"), 0);
        if (!n)
            return QStringLiteral("\"nth\" must be a command number from 0");
        rule = PtyTransmitter::whenNth(*n, chunks, *delay);
    } else {
        if (entry.value(QStringLiteral("any")) != QJsonValue(true))
            return QStringLiteral("\"any\" must be true");
        rule = PtyTransmitter::when(
            [](const QByteArray& pending, int) { return !pending.isEmpty(); }, chunks, *delay);
    }
    *install = [rule](LoopbackCloud&, PtyTransmitter& transmitter) { transmitter.addRule(rule); };
    return std::nullopt;
}

std::optional<QString> parseList(const QJsonObject& script, const QString& key,
                                 std::optional<QString> (*parse)(const QJsonValue&, Install*),
                                 QList<Install>* installs) {
    if (!script.contains(key))
        return std::nullopt;
    const QJsonValue list = script.value(key);
    if (!list.isArray())
        return QStringLiteral("\"%1\" must be a list").arg(key);
    const QJsonArray entries = list.toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        Install install;
        if (auto error = parse(entries.at(i), &install))
            return QStringLiteral("%1[%2]: %3").arg(key).arg(i).arg(*error);
        installs->append(std::move(install));
    }
    return std::nullopt;
}

} // namespace

std::optional<QJsonObject> SimScript::read(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("%1: at offset %2: %3")
                     .arg(path)
                     .arg(parseError.offset)
                     .arg(parseError.errorString());
        return std::nullopt;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("%1: the script must be a JSON object").arg(path);
        return std::nullopt;
    }
    return document.object();
}

std::optional<QString> SimScript::apply(const QJsonObject& script, LoopbackCloud& cloud,
                                        PtyTransmitter& transmitter) {
    if (auto error = checkKeys(script, {QStringLiteral("routes"), QStringLiteral("transmitter")}))
        return error;
    QList<Install> installs;
    if (auto error = parseList(script, QStringLiteral("routes"), parseRoute, &installs))
        return error;
    if (auto error = parseList(script, QStringLiteral("transmitter"), parseRule, &installs))
        return error;
    for (const Install& install : installs)
        install(cloud, transmitter);
    return std::nullopt;
}

std::optional<QByteArray> SimScript::bytesFromHex(const QString& text) {
    QByteArray digits;
    for (const QChar c : text) {
        if (c.isSpace())
            continue;
        if (c.unicode() > 0x7f || !isxdigit(c.unicode()))
            return std::nullopt;
        digits.append(char(c.unicode()));
    }
    if (digits.size() % 2 != 0)
        return std::nullopt;
    return QByteArray::fromHex(digits);
}
