// The help screen's cloud requests: the two configuration look-ups, the audit history, the
// e-mail to customer support, and the confirmation and reset after a successful send.
#include "support/OstivaneHelpViewController.h"

#include "cloud/GlobalManager.h"
#include "cloud/GlobalUserManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Logger.h"
#include "models/AuditHistoryElement.h"
#include "models/JsonDecoder.h"
#include "models/StructGetFromZubAppConfig.h"
#include "platform/MainQueue.h"
#include "shell/OstrivaneAlerts.h"
#include "support/HelpRequests.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

namespace Help = AppConstants::Help;
namespace Host = AppConstants::API::Host;
using AppConstants::DebugLog::errorLabel;

namespace {
// The answer decoded as a list of records; a body that does not decode is logged.
template <typename Row>
std::optional<QList<Row>> decodedRows(const QByteArray& data, const QString& logPrefix) {
    auto rows = JsonDecoder::decodeArray<Row>(data);
    if (!rows) {
        Logger::log(logPrefix + errorLabel + rows.error());
        return std::nullopt;
    }
    return std::move(rows).value();
}
} // namespace

void OstivaneHelpViewController::callApiGetUserGuideLink() {
    const QString logPrefix = SCREEN_LOG_PREFIX_FN("callApiGetUserGuideLink()");
    requestList(Host::getFromZubAppConfig(),
                HelpRequests::configLookupParameters(Help::configUserGuideLink), logPrefix,
                [this, logPrefix](const QByteArray& body) {
                    if (const auto rows = decodedRows<StructGetFromZubAppConfig>(body, logPrefix))
                        userGuideLink = HelpRequests::firstConfigValue(*rows);
                });
}

void OstivaneHelpViewController::callApiGetNeedHelpEmailAddress() {
    const QString logPrefix = SCREEN_LOG_PREFIX_FN("callApiGetNeedHelpEmailAddress()");
    requestList(Host::getFromZubAppConfig(),
                HelpRequests::configLookupParameters(Help::configSupportEmail), logPrefix,
                [this, logPrefix](const QByteArray& body) {
                    if (const auto rows = decodedRows<StructGetFromZubAppConfig>(body, logPrefix)) {
                        AppState::GetFromZubAppConfig = *rows;
                        supportEmail = HelpRequests::firstConfigValue(*rows);
                    }
                });
}

void OstivaneHelpViewController::CallApiGetauditHistory() {
    const QString logPrefix = SCREEN_LOG_PREFIX_FN("CallApiGetauditHistory()");
    Logger::log(logPrefix);
    const auto& user = GlobalUserManager::shared().currentUserFirmwareInfo;
    requestList(Host::getZubAuditHistory(),
                HelpRequests::auditHistoryParameters(user ? user->id : QString()), logPrefix,
                [logPrefix](const QByteArray& body) {
                    if (auto rows = decodedRows<AuditHistoryElement>(body, logPrefix))
                        GlobalUserManager::shared().auditHistory = std::move(*rows);
                });
}

void OstivaneHelpViewController::requestList(const QString& urlString,
                                             const QVariantMap& parameters,
                                             const QString& logPrefix,
                                             std::function<void(const QByteArray&)> onAnswer) {
    QPointer<OstivaneHelpViewController> screen(this);
    GlobalManager::shared().callAPI(
        urlString, HTTPMethod::POST, parameters,
        [screen, logPrefix, onAnswer = std::move(onAnswer)](const APIResult& result) {
            if (!screen)
                return;
            if (!result.ok())
                screen->reportRequestFailure(result, logPrefix);
            else
                onAnswer(result.data());
        });
}

void OstivaneHelpViewController::reportRequestFailure(const APIResult& result,
                                                      const QString& logPrefix) {
    if (result.error().is(APIError::Kind::noInternetConnection))
        showNoInternetAlert(this);
    else
        Logger::log(logPrefix + errorLabel + result.error().localizedDescription());
}

void OstivaneHelpViewController::sendEmail(const QString& subject, const QString& body,
                                           const std::optional<QString>& attachment,
                                           const std::optional<QString>& fileName) {
    // A blank address is no address: the cloud would be asked to mail nobody.
    if (!supportEmail || supportEmail->trimmed().isEmpty()) {
        Logger::log(SCREEN_LOG_PREFIX_FN("sendEmail(subject:body:attachment:fileName:)") +
                    errorLabel + Help::supportEmailMissing);
        btSend_viewTroubleshooting->setEnabled(true);
        return;
    }
    QPointer<OstivaneHelpViewController> screen(this);
    GlobalManager::shared().callAPI(
        Host::sendZubEmail(), HTTPMethod::POST,
        HelpRequests::sendEmailParameters(*supportEmail, subject, body, attachment, fileName),
        [screen](const APIResult& result) {
            if (!screen)
                return;
            if (result.ok()) {
                screen->showAlerts();
                return;
            }
            if (result.error().is(APIError::Kind::noInternetConnection)) {
                showNoInternetAlert(screen);
                screen->btSend_viewTroubleshooting->setEnabled(true);
                return;
            }
            Logger::log(SCREEN_LOG_PREFIX_FN("sendEmail(subject:body:attachment:fileName:)") +
                        errorLabel + result.error().localizedDescription());
            MainQueue::async(screen,
                             [screen] { screen->btSend_viewTroubleshooting->setEnabled(true); });
        });
}

void OstivaneHelpViewController::showAlerts() {
    MainQueue::async(this, [this] {
        // The kind chosen now decides the text, whatever was chosen when the request left.
        showNotification(HelpMenu::confirmationText(popupButton->text()));
        resetHelpView();
    });
}

void OstivaneHelpViewController::resetHelpView() {
    updateMenuTitle(HelpMenu::title(HelpMenuType::SelectOption));
    addViewAsPerSelection(false);
    textFieldTextCount->hide();
    {
        const QSignalBlocker quiet(troubleshootingTextView);
        troubleshootingTextView->clear();
    }
    setMessageEditable(false);
    btSend_viewTroubleshooting->setEnabled(true);
}
