#include "doubles/SimInfoFile.h"

#include "core/AppConstants.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QUrl>

namespace {
// In the information file "#()" stands for "//".
const QString slashes = QStringLiteral("//");
const QString slashesMark = QStringLiteral("#()");
const QString hostKeyPrefix = QStringLiteral("HOST");
} // namespace

QJsonObject SimInfoFile::forSimulator(const QJsonObject& shipped, const QString& baseUrl,
                                      const QString& serialDevicePath) {
    QJsonObject info = shipped;
    const QUrl base(baseUrl);
    for (auto it = info.begin(); it != info.end(); ++it) {
        if (!it.key().startsWith(hostKeyPrefix))
            continue;
        QUrl address(it.value().toString().replace(slashesMark, slashes));
        address.setScheme(base.scheme());
        address.setHost(base.host());
        address.setPort(base.port());
        it.value() = address.toString().replace(slashes, slashesMark);
    }
    info.insert(AppConstants::Configurations::serialDevicePath, serialDevicePath);
    return info;
}

std::optional<QString> SimInfoFile::write(const QString& shippedPath, const QString& outputPath,
                                          const QString& baseUrl, const QString& serialDevicePath) {
    QFile shippedFile(shippedPath);
    if (!shippedFile.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: %2").arg(shippedPath, shippedFile.errorString());
    const QJsonDocument shipped = QJsonDocument::fromJson(shippedFile.readAll());
    if (!shipped.isObject())
        return QStringLiteral("%1: not a JSON object").arg(shippedPath);

    QSaveFile out(outputPath);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("%1: %2").arg(outputPath, out.errorString());
    out.write(QJsonDocument(forSimulator(shipped.object(), baseUrl, serialDevicePath))
                  .toJson(QJsonDocument::Indented));
    if (!out.commit())
        return QStringLiteral("%1: %2").arg(outputPath, out.errorString());
    return std::nullopt;
}
