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

QString codeOf(const QVariantMap& record) {
    return record.value(AppConstants::API::Host::AuditRecord::code).toString();
}

// A record with a code, or nothing.
std::optional<QVariantMap> recordFromText(const QString& text) {
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (!document.isObject())
        return std::nullopt;
    const QVariantMap record = document.object().toVariantMap();
    if (codeOf(record).isEmpty())
        return std::nullopt;
    return record;
}

// Whether the first record was made after the second (records carry their moment).
bool isNewer(const std::optional<QVariantMap>& record, const QVariantMap& than) {
    if (!record)
        return false;
    const QString& dateKey = AppConstants::API::Host::AuditRecord::date;
    return record->value(dateKey).toString() > than.value(dateKey).toString();
}

SettingsStore& store() {
    return AppState::defaults();
}

namespace Keys = AppConstants::userdefaultKeys;

void keepWaiting(const QVariantMap& record) {
    store().setValue(Keys::pendingAudits, codeOf(record));
    store().setValue(Keys::pendingAuditRecord, recordText(record));
}

void clearWaiting() {
    store().removeObject(Keys::pendingAudits);
    store().removeObject(Keys::pendingAuditRecord);
}

// The record waiting to be sent, or nothing. The code under "PendingAudits" decides; the
// record kept beside it is used when it is that code's. An earlier build kept the whole record
// under "PendingAudits": that is taken as it is and stored the present way. A code without its
// record (kept by another build) is sent as a record made now, in the default state.
std::optional<QVariantMap> waitingRecord() {
    const QString waiting = store().string(Keys::pendingAudits).value_or(QString()).trimmed();
    if (waiting.isEmpty())
        return std::nullopt;
    if (waiting.startsWith(u'{')) {
        const std::optional<QVariantMap> earlier = recordFromText(waiting);
        if (earlier)
            keepWaiting(*earlier);
        else
            clearWaiting(); // nothing that could be sent; keeping it would only block the slot
        return earlier;
    }
    const std::optional<QVariantMap> kept =
        recordFromText(store().string(Keys::pendingAuditRecord).value_or(QString()));
    if (kept && codeOf(*kept) == waiting)
        return kept;
    const QVariantMap made =
        auditRecord(waiting, AppConstants::API::Host::AuditRecord::stateDefault);
    keepWaiting(made);
    return made;
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
        keepWaiting(record);
        return;
    }
    // The connection is evidently here: the waiting record goes first.
    sendPendingAudit();
    postAudit(record);
}

void GlobalManager::sendPendingAudit() {
    if (!NetworkManager::shared().isConnected())
        return;
    const std::optional<QVariantMap> record = waitingRecord();
    if (!record || recordText(*record) == pendingInFlight_)
        return;
    pendingInFlight_ = recordText(*record);
    postAudit(*record);
}

void GlobalManager::postAudit(const QVariantMap& record) {
    const QString text = recordText(record);
    callAPI(AppConstants::API::Host::setZubAuditHistory(), HTTPMethod::POST, record,
            [this, record, text](const APIResult& result) {
                const bool wasPending = pendingInFlight_ == text;
                if (wasPending)
                    pendingInFlight_.clear();
                if (!result.ok() && result.error().is(APIError::Kind::noInternetConnection)) {
                    // Lost on the way: keep it for the connection's return, unless a newer
                    // record already waits.
                    if (!isNewer(waitingRecord(), record))
                        keepWaiting(record);
                    return;
                }
                // Sent, or refused by the cloud (which a resend would not change).
                if (wasPending) {
                    const std::optional<QVariantMap> waiting = waitingRecord();
                    if (waiting && recordText(*waiting) == text)
                        clearWaiting();
                }
            });
}
