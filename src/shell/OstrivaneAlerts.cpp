#include "shell/OstrivaneAlerts.h"

#include "cloud/GlobalManager.h"
#include "core/AppConstants.h"
#include "core/Logger.h"
#include "models/EuaMessage.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/Storyboard.h"
#include "shell/MainWindow.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "transmitter/ORSSerialPortHandler.h"
#include "transmitter/TxInfo.h"

#include <QLabel>
#include <QPointer>

namespace {

void logDescription(const QString& function, const StructEuaMessage& entry) {
    Logger::log(Logger::prefix(__FILE__, function, __LINE__) + AppConstants::DebugLog::errorLabel +
                entry.messageDescription);
}

// The custom alert that shows this message over the screen's window, when one is open.
OstrivaneCustomAlertView* openAlertWithMessage(const ViewController* screen,
                                               const QString& message) {
    QWidget* window = screen->viewWindow();
    if (!window)
        return nullptr;
    for (OstrivaneCustomAlertView* alert : window->findChildren<OstrivaneCustomAlertView*>())
        if (alert->isVisible() && alert->labelMessage()->text() == message)
            return alert;
    return nullptr;
}

// The custom alert over the screen's window; nullptr when it could not be shown. A message
// that an open alert already shows is not shown a second time: the alert that shows it is
// returned instead, so that one click closes what the user reads.
OstrivaneCustomAlertView* presentCustomAlert(ViewController* screen,
                                             const QString& headerPrimaryText,
                                             const std::optional<QString>& headerSecondaryText,
                                             const QString& message, bool isHeaderSecondaryHidden) {
    if (!screen)
        return nullptr;
    if (OstrivaneCustomAlertView* shown = openAlertWithMessage(screen, message))
        return shown;
    std::unique_ptr<ViewController> scene =
        Storyboard::main().instantiate(AppConstants::Scenes::customAlertView);
    auto* alert = qobject_cast<OstrivaneCustomAlertView*>(scene.get());
    if (!alert)
        return nullptr;
    scene.release();
    alert->configure(headerPrimaryText, headerSecondaryText, message, isHeaderSecondaryHidden);
    return screen->presentAsSheet(alert) ? alert : nullptr;
}

// The error alert on screen, if any. Errors are shown one at a time: a newer one takes the
// place of the one still open.
QPointer<OstrivaneCustomAlertView> shownErrorAlert;

// Shows the message as the error alert. Closing an alert that ends a run takes the window back
// to the welcome screen; closing one that the run outlives only takes the alert away.
void presentErrorAlert(ViewController* screen, const QString& message, bool runGoesOn) {
    if (shownErrorAlert)
        shownErrorAlert->dismiss();
    shownErrorAlert = presentCustomAlert(screen, AppConstants::Alerts::titles::notification,
                                         std::nullopt, message, true);
    if (shownErrorAlert && !runGoesOn)
        shownErrorAlert->setCloseAction([] {
            NotificationCenter::defaultCenter().post(
                AppConstants::Notifications::showWelcomeScreen);
        });
}

// Gives back what a running upgrade or support upload kept locked.
void unlockInterface(ViewController* screen) {
    ORSSerialPortHandler::shared().isUpgradeDone = false;
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.post(AppConstants::Notifications::setTransmitterSWandAppVersions,
                QVariant::fromValue(&TxInfo::shared()));
    center.post(AppConstants::Notifications::enableDisableMenuButtons, true);
    center.post(AppConstants::Notifications::enableDisableLogoutButtons, true);
    if (MainWindow* window = MainWindow::of(screen))
        window->setCloseButtonEnabled(true);
}

} // namespace

void showUpgradeOrSupportUploadErrorAlert(ViewController* screen, const QString& code,
                                          std::function<bool()> runGoesOn,
                                          const std::optional<QString>& message) {
    const std::optional<StructEuaMessage> found = euaMessage(code);
    // Whatever the code, the user is told and the interface is unlocked: a code that the
    // catalogue lacks shows the local record instead.
    const std::optional<StructEuaMessage> entry =
        found ? found : euaMessage(AppConstants::Codes::missingMessage);
    const QPointer<ViewController> guard(screen);
    // Not tied to the screen's life: the interface must come back even when the screen that
    // failed is gone by the time this runs.
    MainQueue::async([guard, code, entry, message, isCloudCode = found.has_value(),
                      runGoesOn = std::move(runGoesOn)] {
        // Asked now, not when the failure was reported: by now a failure that ends the run
        // has ended it.
        const bool goesOn = runGoesOn && runGoesOn();
        if (message) {
            presentErrorAlert(guard.data(), *message, goesOn);
            Logger::log(LOG_PREFIX_FN("showUpgradeOrSupportUploadErrorAlert(code:)") +
                        AppConstants::DebugLog::errorLabel + *message);
        } else if (entry) {
            presentErrorAlert(guard.data(), entry->messagerDescriptionUserFriendly, goesOn);
            logDescription(QStringLiteral("showUpgradeOrSupportUploadErrorAlert(code:)"), *entry);
        }
        // While the run goes on it keeps the interface locked until its own end.
        if (!goesOn)
            unlockInterface(guard.data());
        if (isCloudCode)
            GlobalManager::shared().setAuditHistory(code);
    });
}

void showWindowCloseRedCircleBasedOnUpgradeProgressStatus(ViewController* screen, bool isEnabled) {
    MainQueue::async(screen, [screen, isEnabled] {
        if (MainWindow* window = MainWindow::of(screen))
            window->setCloseButtonEnabled(isEnabled);
    });
}

void showNoInternetAlert(ViewController* screen) {
    MainQueue::async(screen, [screen] {
        if (screen->attachedSheet())
            return;
        // Offline at start-up the cloud's catalogue never arrived: the local record speaks
        // for the missing text.
        std::optional<StructEuaMessage> entry =
            euaMessage(AppConstants::Codes::noInternetConnection);
        if (!entry)
            entry = euaMessage(AppConstants::Codes::missingMessage);
        if (!entry)
            return;
        addAlertView(screen, AppConstants::Alerts::titles::notification, std::nullopt,
                     entry->messagerDescriptionUserFriendly, true);
    });
}

void addAlertView(ViewController* screen, const QString& headerPrimaryText,
                  const std::optional<QString>& headerSecondaryText, const QString& message,
                  std::optional<bool> isHeaderSecondaryHidden) {
    presentCustomAlert(screen, headerPrimaryText, headerSecondaryText, message,
                       isHeaderSecondaryHidden.value_or(false));
}

void showAlert(ViewController* screen, const QString& code) {
    const std::optional<StructEuaMessage> entry = euaMessage(code);
    if (!entry)
        return;
    addAlertView(screen, AppConstants::Alerts::titles::notification, std::nullopt,
                 entry->messagerDescriptionUserFriendly, true);
    logDescription(QStringLiteral("showAlert(code:)"), *entry);
}
