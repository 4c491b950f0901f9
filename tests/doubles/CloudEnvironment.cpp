#include "doubles/CloudEnvironment.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "platform/BundleInfo.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace Keys = AppConstants::Configurations;

CloudEnvironment::CloudEnvironment() {
    cloud.route(QStringLiteral("POST"), AppConstants::API::Host::path::setZubAuditHistory,
                LoopbackCloud::Reply::json(QJsonObject{}));
    const QString base = cloud.baseUrl();
    const QJsonObject info{
        {Keys::bundleShortVersionString, QStringLiteral("4.5.6")},
        {Keys::hostAPIURL, base},
        {Keys::hostWebURL, base},
        {Keys::hostAuthenticationURL, base},
        {Keys::hostVaultURL, base},
        {Keys::hostCommLibAPIURL, base + QStringLiteral("/commlib")},
    };
    const QString path = dir_.filePath(QStringLiteral("Info.json"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(info).toJson());
    file.close();
    BundleInfo::setFilePath(path);
    NetworkManager::shared().setConnected(true);
}

CloudEnvironment::~CloudEnvironment() {
    BundleInfo::setFilePath({});
    NetworkManager::shared().setConnected(true);
    AppState::EuaMessage.clear();
}

QStringList CloudEnvironment::auditCodes() const {
    QStringList codes;
    for (const LoopbackCloud::Request& request :
         cloud.requestsTo(AppConstants::API::Host::path::setZubAuditHistory))
        codes.append(request.json().value(AppConstants::API::Host::AuditRecord::code).toString());
    return codes;
}

StructEuaMessage CloudEnvironment::entry(const QString& code) {
    StructEuaMessage message;
    message.messageCode = code;
    message.messageDescription = QStringLiteral("description of ") + code;
    message.messagerDescriptionUserFriendly = userText(code);
    return message;
}

QString CloudEnvironment::userText(const QString& code) {
    return QStringLiteral("What the user reads for ") + code;
}
