#pragma once

#include "doubles/CloudEnvironment.h"
#include "doubles/PtyTransmitter.h"
#include "doubles/SupportUploadScenario.h"
#include "shell/MainWindow.h"
#include "support/OstrivaneLogsViewController.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>

#include <memory>

class OstrivaneCustomAlertView;
class OstrivaneWelcomeScreen;

// Records notifications in the order they arrive, with their objects.
class NotificationTrail : public QObject {
public:
    explicit NotificationTrail(const QStringList& names);
    ~NotificationTrail() override;

    QStringList names;
    QVariantList objects;
};

// The main window on the offscreen platform with a support upload to run: the loopback cloud
// and the pseudo-terminal transmitter play it (SupportUploadScenario), the serial handler has
// the cradle open, the secure channel and the transmitter are known, and the catalogue holds
// the codes the screen shows. Periods are scaled by 0.02.
class LogsScreenTest : public ::testing::Test {
protected:
    static constexpr double timeScale = 0.02;
    static inline const QString serialNumber = QStringLiteral("T123");
    static inline const QString appVersion = QStringLiteral("1.4");
    static inline const QString txInfoBytes = QStringLiteral("VHhJbmZvUmVwbHk=");
    static constexpr int firstSequenceNumber = 41;

    void SetUp() override;
    void TearDown() override;

    // Installs the scenario (with its current options) and shows the support upload from the
    // welcome screen, as its button does.
    void startUpload();
    // Waits (bounded) until the run has ended: completed and its pane shown, or failed and the
    // interface unlocked again.
    bool waitForEnd(int timeoutMs = 15000);
    bool waitForCompletion(int timeoutMs = 15000);

    // The sidebar, the log-out button and the window's close button are all enabled.
    bool interfaceUnlocked() const;
    bool interfaceLocked() const;
    // The alert sheet the window shows, or nullptr; its message text.
    OstrivaneCustomAlertView* shownAlert() const;
    QString alertText() const;
    // How many alerts the window shows at once.
    int openAlerts() const;
    // Waits (bounded) for an alert and returns its message text (empty when none came).
    QString waitForAlertText(int timeoutMs = 5000) const;

    // Closes the alert, which brings back a new welcome screen, and makes ready for another
    // upload from it; returns whether the new welcome screen came.
    bool closeAlertForANewUpload();

    // The comm-library requests the cloud received, as path (and query), in order.
    QStringList commLibRequests() const;
    QList<LoopbackCloud::Request> commLibRequestsTo(const QString& path) const;
    QString commLib(const QString& path) const { return options.commLibPrefix + path; }
    // The command frames of the tags, concatenated: what the transmitter should have received.
    static QByteArray commandBytes(const QStringList& tags);
    // The settings store's "LogFileName", empty when absent.
    static QString storedLogFileName();
    // The files in the application folder.
    static QStringList appFolderFiles();

    QTemporaryDir dir;
    std::unique_ptr<CloudEnvironment> env;
    std::unique_ptr<PtyTransmitter> transmitter;
    SupportUploadScenario::Options options;
    std::unique_ptr<SupportUploadScenario> scenario;
    std::unique_ptr<MainWindow> window;
    QPointer<OstrivaneWelcomeScreen> welcome;
    QPointer<OstrivaneLogsViewController> screen;
};
