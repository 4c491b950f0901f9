#include "platform/BundleInfo.h"

#include "platform/RegularFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>
#include <QtDebug>

namespace {

struct Store {
    QMutex mutex;
    QString overridePath;
    bool loaded = false;
    QHash<QString, QString> values;
    std::optional<QString> readError;
};

Store& store() {
    static Store s;
    return s;
}

QString defaultPath() {
    const QString fromEnvironment = qEnvironmentVariable("PELLORY_INFO_FILE");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString folder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return QDir(folder).filePath(QStringLiteral("Info.json"));
}

QString currentPath(const Store& s) {
    return s.overridePath.isEmpty() ? defaultPath() : s.overridePath;
}

QString textOf(const QJsonValue& value) {
    if (value.isString())
        return value.toString();
    if (value.isBool())
        return value.toBool() ? QStringLiteral("YES") : QStringLiteral("NO");
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 17);
    return {};
}

void load(Store& s) {
    s.loaded = true;
    s.values.clear();
    s.readError.reset();
    const QString path = currentPath(s);
    const RegularFile::ReadResult file = RegularFile::read(path);
    if (file.status != RegularFile::ReadStatus::read) {
        s.readError = file.error;
        qWarning().noquote() << "Information file not readable:" << path << file.error;
        return;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        s.readError =
            error.error == QJsonParseError::NoError
                ? QStringLiteral("not a JSON object")
                : QStringLiteral("%1 at character %2").arg(error.errorString()).arg(error.offset);
        qWarning().noquote() << "Information file is not a JSON object:" << path << *s.readError;
        return;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.value().isNull() || it.value().isArray() || it.value().isObject())
            continue;
        s.values.insert(it.key(),
                        textOf(it.value()).replace(QStringLiteral("#()"), QStringLiteral("//")));
    }
}

} // namespace

std::optional<QString> BundleInfo::find(const QString& key) {
    Store& s = store();
    QMutexLocker lock(&s.mutex);
    if (!s.loaded)
        load(s);
    const auto it = s.values.constFind(key);
    if (it == s.values.cend())
        return std::nullopt;
    return *it;
}

QString BundleInfo::value(const QString& key) {
    return find(key).value_or(QString());
}

QString BundleInfo::filePath() {
    Store& s = store();
    QMutexLocker lock(&s.mutex);
    return currentPath(s);
}

std::optional<QString> BundleInfo::readError() {
    Store& s = store();
    QMutexLocker lock(&s.mutex);
    if (!s.loaded)
        load(s);
    return s.readError;
}

void BundleInfo::setFilePath(const QString& path) {
    Store& s = store();
    QMutexLocker lock(&s.mutex);
    s.overridePath = path;
    s.loaded = false;
    s.values.clear();
}
