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

SettingsStore& store() {
    return AppState::defaults();
}

namespace Keys = AppConstants::userdefaultKeys;
using AuditPost = GlobalManager::AuditPost;

// The waiting slot. Its rules, all of them:
// 1. One record waits at a time: its code under "PendingAudits", as other builds read it, and
//    the whole record (state, user, transmitter, the moment of its step) beside it. Both are
//    written in one write, so the file never pairs a code with another code's record; a write
//    the disk refuses waits in the store and is tried again (SettingsStore). A step taken while
//    offline takes the slot: the last one wins.
// 2. Read back, the slot gives the record kept beside its code; an earlier build's whole
//    record kept under "PendingAudits" itself; or, for a code alone (or beside another code's
//    record), a record made at the reading in the default state, whose step's moment is
//    unknown. Whatever cannot be sent (text that is not a record) is no record: the next one
//    takes the slot.
// 3. Once the connection is evidently there, the waiting record is sent before a new one, and
//    never twice at a time.
// 4. A post the cloud has settled (see cloudHasSettled) leaves the slot: the slot is emptied if
//    it still holds what was sent, and left alone if another record has taken it meanwhile.
// 5. A post the cloud has not settled goes back to the slot, unless the record waiting there
//    now is younger. A record whose step's moment is unknown is never put back: it came from
//    the slot, where whatever waits now is at least as young.

// What the slot holds, as one text: tells whether it still holds what it held before.
QString slotContent() {
    return store().string(Keys::pendingAudits).value_or(QString()) + u'\n' +
           store().string(Keys::pendingAuditRecord).value_or(QString());
}

void putInSlot(const QVariantMap& record) {
    store().apply(
        {{Keys::pendingAudits, codeOf(record)}, {Keys::pendingAuditRecord, recordText(record)}});
}

void emptySlot() {
    store().apply({{Keys::pendingAudits, std::nullopt}, {Keys::pendingAuditRecord, std::nullopt}});
}

// The record waiting in the slot (rule 2), or nothing; changes nothing.
std::optional<AuditPost> readSlot() {
    const QString code = store().string(Keys::pendingAudits).value_or(QString()).trimmed();
    if (code.isEmpty())
        return std::nullopt;
    if (code.startsWith(u'{')) {
        if (std::optional<QVariantMap> earlierBuilds = recordFromText(code))
            return AuditPost{std::move(*earlierBuilds), slotContent(), false};
        return std::nullopt;
    }
    std::optional<QVariantMap> kept =
        recordFromText(store().string(Keys::pendingAuditRecord).value_or(QString()));
    if (kept && codeOf(*kept) == code)
        return AuditPost{std::move(*kept), slotContent(), false};
    return AuditPost{auditRecord(code, AppConstants::API::Host::AuditRecord::stateDefault),
                     slotContent(), true};
}

// Whether the step of the first record was taken after that of the second (records carry
// their moment).
bool takenAfter(const QVariantMap& record, const QVariantMap& than) {
    const QString& dateKey = AppConstants::API::Host::AuditRecord::date;
    return record.value(dateKey).toString() > than.value(dateKey).toString();
}

// Rule 5.
bool goesBackToSlot(const AuditPost& sent) {
    if (sent.stepMomentUnknown)
        return false;
    const std::optional<AuditPost> waiting = readSlot();
    return !waiting || waiting->stepMomentUnknown || !takenAfter(waiting->record, sent.record);
}

// Whether the cloud has settled a record: it accepted it (a 2xx answer, with or without a body)
// or refused it (a 4xx answer), which sending it again would not change. Any other failure - no
// connection, a refused or timed-out connection, a 5xx answer - may go otherwise next time.
bool cloudHasSettled(const APIResult& result) {
    if (result.ok() || result.error().is(APIError::Kind::noData))
        return true;
    const int status = result.error().statusCode();
    return result.error().is(APIError::Kind::httpError) && status >= 400 && status < 500;
}

// What becomes of a post once it has its answer (rules 4 and 5): the only place a record leaves
// the slot, and where one goes back to it.
void settle(const AuditPost& sent, const APIResult& result) {
    if (!cloudHasSettled(result)) {
        if (goesBackToSlot(sent))
            putInSlot(sent.record);
    } else if (!sent.readFromSlot.isEmpty() && slotContent() == sent.readFromSlot) {
        emptySlot();
    }
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
        putInSlot(record); // rule 1
        return;
    }
    // Rule 3.
    sendPendingAudit();
    postAudit({record, {}, false});
}

void GlobalManager::sendPendingAudit() {
    if (!NetworkManager::shared().isConnected())
        return;
    const std::optional<AuditPost> waiting = readSlot();
    if (!waiting || waiting->readFromSlot == slotInFlight_)
        return;
    slotInFlight_ = waiting->readFromSlot;
    postAudit(*waiting);
}

void GlobalManager::postAudit(const AuditPost& post) {
    callAPI(AppConstants::API::Host::setZubAuditHistory(), HTTPMethod::POST, post.record,
            [this, post](const APIResult& result) {
                if (!post.readFromSlot.isEmpty() && slotInFlight_ == post.readFromSlot)
                    slotInFlight_.clear();
                settle(post, result);
            });
}
