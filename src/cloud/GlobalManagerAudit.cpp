// Audit records: one post per audited step, kept for later while the computer is offline.
#include "cloud/GlobalManager.h"

#include "cloud/GlobalUserManager.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "models/EuaMessage.h"
#include "platform/MainQueue.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Audits are sent only for codes of the catalogue as the cloud delivered it; the local record
// added at start-up does not count.
bool cloudCatalogueHolds(const QString& code) {
    if (code == AppConstants::Codes::missingMessage)
        return false;
    return findEuaMessage(AppState::EuaMessage, code).has_value();
}

QVariantMap auditRecord(const QString& code, const QString& zubStateID) {
    namespace Keys = AppConstants::API::Host::AuditRecord;
    const std::optional<UserFirmwareInfo>& user =
        GlobalUserManager::shared().currentUserFirmwareInfo;
    QString transmitterID;
    if (user && user->transmitterID)
        transmitterID = QString::number(*user->transmitterID);
    return {
        {Keys::code, code},
        {Keys::zubStateID, zubStateID},
        {Keys::userID, user ? user->id : QString()},
        {Keys::transmitterID, transmitterID},
        // The moment of the step, not of the post: a waiting record keeps its own time.
        {Keys::date, QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
    };
}

QString recordText(const QVariantMap& record) {
    return QString::fromUtf8(
        QJsonDocument(QJsonObject::fromVariantMap(record)).toJson(QJsonDocument::Compact));
}

std::optional<QVariantMap> recordFromText(const QString& text) {
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (!document.isObject())
        return std::nullopt;
    return document.object().toVariantMap();
}

// Whether the stored record was made after the given one (records carry their moment).
bool isNewer(const std::optional<QString>& stored, const QString& than) {
    if (!stored)
        return false;
    const auto storedRecord = recordFromText(*stored);
    const auto thanRecord = recordFromText(than);
    if (!storedRecord || !thanRecord)
        return false;
    const QString& dateKey = AppConstants::API::Host::AuditRecord::date;
    return storedRecord->value(dateKey).toString() > thanRecord->value(dateKey).toString();
}

SettingsStore& store() {
    return AppState::defaults();
}
const QString& pendingKey() {
    return AppConstants::userdefaultKeys::pendingAudits;
}

} // namespace

void GlobalManager::setAuditHistory(const QString& code, const QString& zubStateID) {
    // The catalogue and the settings store belong to the main thread.
    if (!MainQueue::isMainThread()) {
        MainQueue::async(this, [=, this] { setAuditHistory(code, zubStateID); });
        return;
    }
    if (!cloudCatalogueHolds(code))
        return;
    const QVariantMap record = auditRecord(code, zubStateID);
    if (!NetworkManager::shared().isConnected()) {
        store().setValue(pendingKey(), recordText(record));
        return;
    }
    // The connection is evidently here: the waiting record goes first.
    sendPendingAudit();
    postAudit(record);
}

void GlobalManager::sendPendingAudit() {
    if (!NetworkManager::shared().isConnected())
        return;
    const std::optional<QString> pending = store().string(pendingKey());
    if (!pending || pending->isEmpty() || pending == pendingInFlight_)
        return;
    const std::optional<QVariantMap> record = recordFromText(*pending);
    if (!record) {
        // Nothing that could be sent; keeping it would only block the slot.
        store().removeObject(pendingKey());
        return;
    }
    pendingInFlight_ = *pending;
    postAudit(*record);
}

void GlobalManager::postAudit(const QVariantMap& record) {
    const QString text = recordText(record);
    callAPI(AppConstants::API::Host::setZubAuditHistory(), HTTPMethod::POST, record,
            [this, text](const APIResult& result) {
                const bool wasPending = pendingInFlight_ == text;
                if (wasPending)
                    pendingInFlight_.clear();
                if (!result.ok() && result.error().is(APIError::Kind::noInternetConnection)) {
                    // Lost on the way: keep it for the connection's return, unless a newer
                    // record already waits.
                    if (!isNewer(store().string(pendingKey()), text))
                        store().setValue(pendingKey(), text);
                    return;
                }
                // Sent, or refused by the cloud (which a resend would not change).
                if (wasPending && store().string(pendingKey()) == text)
                    store().removeObject(pendingKey());
            });
}
