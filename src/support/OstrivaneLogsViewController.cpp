// Loading, the run's start and end, progress, errors and the completion pane.
#include "support/OstrivaneLogsViewController.h"

#include "cloud/GlobalManager.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/Console.h"
#include "models/LogBytes.h"
#include "platform/BusyIndicator.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/Storyboard.h"
#include "shell/OstrivaneAlerts.h"
#include "support/LogConsoleTexts.h"
#include "support/LogRunErrors.h"
#include "support/ReplyStore.h"
#include "transmitter/ORSSerialPortHandler.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

const char* const OstrivaneLogsViewController::sourceFile = __FILE__;

namespace Codes = AppConstants::Codes;
namespace Notifications = AppConstants::Notifications;

OstrivaneLogsViewController::OstrivaneLogsViewController(QWidget* parent) : ViewController(parent) {
    setAccessibleName(tr("Support upload screen"));
    buildLayout();
    progressRedraw_.setSingleShot(true);
    progressRedraw_.setInterval(progressRedrawDelayMs);
    connect(&progressRedraw_, &QTimer::timeout, this, &OstrivaneLogsViewController::showProgress);
    connect(&framer_, &ReplyFramer::replyReady, this, &OstrivaneLogsViewController::replyReady);
    connect(&framer_, &ReplyFramer::replyTimedOut, this, [this](logCommand command) {
        replyFailed(AppConstants::LogConsole::timedOut, command);
    });
    connect(&framer_, &ReplyFramer::replyTooLarge, this, [this](logCommand command) {
        replyFailed(AppConstants::LogConsole::tooLarge, command);
    });
}

OstrivaneLogsViewController::~OstrivaneLogsViewController() = default;

void OstrivaneLogsViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    spinner->hide();
    addtransition(this, TransitionDirection::fromRight);
    NotificationCenter::defaultCenter().addObserver(
        this, Notifications::serialPortsWereDisconnected,
        [this](const QVariant&) { transmitterDisconnected(); });

    if (!ORSSerialPortHandler::shared().isSerialPortAvailable()) {
        runState_ = RunState::failed;
        showUpgradeOrSupportUploadError(Codes::transmitterNotFoundOrAnyErrorOccured);
    } else {
        startDownloadingLogs();
    }
    GlobalManager::shared().setAuditHistory(Codes::initiatedSupportUpload);
}

void OstrivaneLogsViewController::startDownloadingLogs() {
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.post(Notifications::enableDisableMenuButtonsForSuportUpload, false);
    center.post(Notifications::enableDisableLogoutButtons, false);
    showWindowCloseRedCircleBasedOnUpgradeProgressStatus(this, false);
    spinner->show();
    spinner->startAnimation();
    progressBar->setValue(0);

    // Nothing of an earlier run that failed may reach the cloud with this one.
    ReplyStore::emptyLists(LogBytes::shared());
    framer_.reset();
    runState_ = RunState::running;
    usingTransmitter_ = true;
    runDownload().start(&runTasks_);
}

Task<void> OstrivaneLogsViewController::runDownload() {
    try {
        co_await downloadHeaders();
    } catch (const LogRunEnded&) {
        co_return; // the user has been told already
    } catch (const APIError& error) {
        // The failed request has shown its alert.
        Console::print(AppConstants::LogConsole::errorDownloadingLogs +
                       error.localizedDescription());
        endRun(std::nullopt);
        co_return;
    } catch (const std::exception& error) {
        Console::print(AppConstants::LogConsole::errorDownloadingLogs +
                       QString::fromUtf8(error.what()));
        endRun(Codes::transmitterNotFoundOrAnyErrorOccured);
        co_return;
    }
    downloadAllLogs(logCommand::logTypes);
}

Task<void> OstrivaneLogsViewController::downloadHeaders() {
    co_await downloadAllHeaders();
}

void OstrivaneLogsViewController::updateProgress(double doubleValue) {
    MainQueue::async(this, [this, doubleValue] {
        progress_.add(doubleValue);
        // A step is mostly followed at once by the next request, which should not wait behind a
        // repaint: the bar and its line are redrawn a moment later.
        if (!progressRedraw_.isActive())
            progressRedraw_.start();
    });
}

void OstrivaneLogsViewController::showProgress() {
    progressRedraw_.stop();
    progressBar->setValue(progress_.wholePercent());
    uploadLogsPercentageLabel->setText(progress_.percentageLine());
}

void OstrivaneLogsViewController::showUpgradeOrSupportUploadError(
    const QString& code, const std::optional<QString>& message) {
    // A failure the run outlives must not take the running upload away: its alert leaves the
    // screen in place.
    showUpgradeOrSupportUploadErrorAlert(
        this, code,
        [self = QPointer<OstrivaneLogsViewController>(this)] { return self && self->isRunning(); },
        message);
    ReplyStore::emptyLists(LogBytes::shared());
}

void OstrivaneLogsViewController::endRun(const std::optional<QString>& code,
                                         const std::optional<QString>& message) {
    if (!isRunning())
        return;
    runState_ = RunState::failed;
    usingTransmitter_ = false;
    framer_.reset();
    endWait(std::make_exception_ptr(LogRunEnded()));
    if (code)
        showUpgradeOrSupportUploadError(*code, message);
    ReplyStore::releaseRun(LogBytes::shared());
}

void OstrivaneLogsViewController::ensureRunning() const {
    if (!isRunning())
        throw LogRunEnded();
}

void OstrivaneLogsViewController::checkInternetConnectivity() {
    if (NetworkManager::shared().isConnected())
        return;
    showUpgradeOrSupportUploadError(Codes::noInternetConnection);
    throw NotConnectedToInternet();
}

void OstrivaneLogsViewController::transmitterDisconnected() {
    if (!MainQueue::isMainThread()) {
        MainQueue::async(this, [this] { transmitterDisconnected(); });
        return;
    }
    // While the run still talks to the transmitter it cannot go on without it.
    if (isRunning() && usingTransmitter_) {
        endRun(Codes::transmitterNotFoundOrAnyErrorOccured);
        return;
    }
    showUpgradeOrSupportUploadError(Codes::transmitterNotFoundOrAnyErrorOccured);
    ReplyStore::emptyLists(LogBytes::shared());
}

void OstrivaneLogsViewController::showUploadCompletedView() {
    runState_ = RunState::completed;
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.post(Notifications::enableDisableMenuButtonsForSuportUpload, true);
    center.post(Notifications::enableDisableLogoutButtons, true);
    showWindowCloseRedCircleBasedOnUpgradeProgressStatus(this, true);
    uploadLogsView->hide();
    uploadCompleteView->show();
    labelHeading->setText(AppConstants::SupportUpload::completedHeading);
    labelSubheading->setText(AppConstants::SupportUpload::completedSubheading);
    addtransition(labelHeading, TransitionDirection::fromRight);
    addtransition(labelSubheading, TransitionDirection::fromRight);
    addtransition(uploadCompleteView, TransitionDirection::fromRight);
    ReplyStore::releaseRun(LogBytes::shared());
    NotificationCenter::defaultCenter().removeObserver(this);
}

void OstrivaneLogsViewController::buttonOkClicked() {
    std::unique_ptr<ViewController> scene =
        Storyboard::main().instantiate(AppConstants::Scenes::welcomeScreen);
    auto* welcome = qobject_cast<OstrivaneWelcomeScreen*>(scene.get());
    if (!welcome)
        return;
    scene.release();
    addChild(welcome);
    welcome->welcomeView()->show();
}

void OstrivaneLogsViewController::addtransition(QWidget* transitionView,
                                                TransitionDirection direction) {
    Transitions::push(transitionView, direction);
}
