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
bool isNewer(const QVariantMap& record, const QVariantMap& than) {
    const QString& dateKey = AppConstants::API::Host::AuditRecord::date;
    return record.value(dateKey).toString() > than.value(dateKey).toString();
}

SettingsStore& store() {
    return AppState::defaults();
}

namespace Keys = AppConstants::userdefaultKeys;

// Both keys in one write, so that the file never pairs a code with another code's record.
void keepWaiting(const QVariantMap& record) {
    store().apply(
        {{Keys::pendingAudits, codeOf(record)}, {Keys::pendingAuditRecord, recordText(record)}});
}

void clearWaiting() {
    store().apply({{Keys::pendingAudits, std::nullopt}, {Keys::pendingAuditRecord, std::nullopt}});
}

// The slot as stored: what is under "PendingAudits" and the record kept beside it. It names the
// waiting record, also one that is made anew at each reading.
QString slotText() {
    return store().string(Keys::pendingAudits).value_or(QString()) + u'\n' +
           store().string(Keys::pendingAuditRecord).value_or(QString());
}

struct Waiting {
    QVariantMap record;
    QString slot;        // slotText() when it was read
    bool madeUp = false; // made at the reading for a code alone: its step's moment is unknown
};

// The record waiting to be sent, or nothing; reads the store and changes nothing. The code under
// "PendingAudits" decides; the record kept beside it is used when it is that code's. An earlier
// build kept the whole record under "PendingAudits": that is taken as it is. A code without its
// record (kept by another build) stands for a record made now, in the default state.
std::optional<Waiting> waitingRecord() {
    const QString waiting = store().string(Keys::pendingAudits).value_or(QString()).trimmed();
    if (waiting.isEmpty())
        return std::nullopt;
    const QString slot = slotText();
    if (waiting.startsWith(u'{')) {
        if (std::optional<QVariantMap> earlier = recordFromText(waiting))
            return Waiting{std::move(*earlier), slot};
        return std::nullopt; // nothing that could be sent; the next record takes the slot
    }
    std::optional<QVariantMap> kept =
        recordFromText(store().string(Keys::pendingAuditRecord).value_or(QString()));
    if (kept && codeOf(*kept) == waiting)
        return Waiting{std::move(*kept), slot};
    return Waiting{auditRecord(waiting, AppConstants::API::Host::AuditRecord::stateDefault), slot,
                   true};
}

// Whether the waiting record stays rather than the given one, which the cloud has not settled:
// the newer record wins. A record made up for a code alone is older than any record made here:
// its step was taken before, by another build.
bool waitingWins(const Waiting& waiting, const QVariantMap& record, bool madeUp) {
    return madeUp || (!waiting.madeUp && isNewer(waiting.record, record));
}

// Whether the cloud has settled a record: it accepted it (a 2xx answer, with or without a body)
// or refused it (a 4xx answer), which sending it again would not change. Any other failure - no
// connection, a refused or timed-out connection, a 5xx answer - may go otherwise next time.
bool isSettled(const APIResult& result) {
    if (result.ok() || result.error().is(APIError::Kind::noData))
        return true;
    const int status = result.error().statusCode();
    return result.error().is(APIError::Kind::httpError) && status >= 400 && status < 500;
}

// What becomes of the slot once a post has its answer: the only place a record leaves it, and
// where one comes back to it. slot: the slot the record was read from, empty for a new record.
void settle(const QVariantMap& record, const QString& slot, bool madeUp, const APIResult& result) {
    if (!isSettled(result)) {
        // Kept for a later resend, unless the record waiting now wins over it.
        const std::optional<Waiting> waiting = waitingRecord();
        if (!waiting || !waitingWins(*waiting, record, madeUp))
            keepWaiting(record);
        return;
    }
    // Unless another record has taken the slot meanwhile.
    if (!slot.isEmpty() && slotText() == slot)
        clearWaiting();
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
    const std::optional<Waiting> waiting = waitingRecord();
    if (!waiting || waiting->slot == pendingInFlight_)
        return;
    pendingInFlight_ = waiting->slot;
    postAudit(waiting->record, waiting->slot, waiting->madeUp);
}

void GlobalManager::postAudit(const QVariantMap& record, const QString& slot, bool madeUp) {
    callAPI(AppConstants::API::Host::setZubAuditHistory(), HTTPMethod::POST, record,
            [this, record, slot, madeUp](const APIResult& result) {
                if (!slot.isEmpty() && pendingInFlight_ == slot)
                    pendingInFlight_.clear();
                settle(record, slot, madeUp, result);
            });
}
