// The application side of the benchmark: Pellory's own main window, started the way main()
// starts it, which then runs one support upload from the welcome screen, as its button does.
// Before the upload it times bare HTTP round trips to the same cloud. It talks to the driver on
// standard error, one "bench: " line per event; standard output carries the console lines.
#include "BenchProtocol.h"

#include "app/AppDelegate.h"
#include "app/SceneRegistration.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/CloudEnvironment.h"
#include "models/LogBytes.h"
#include "platform/NotificationCenter.h"
#include "platform/TimeScale.h"
#include "shell/MainWindow.h"
#include "shell/OstrivaneSplitViewController.h"
#include "support/OstrivaneLogsViewController.h"
#include "transmitter/ORSSerialPortHandler.h"
#include "transmitter/SecureChannelAttributes.h"
#include "transmitter/TxInfo.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

void tell(const QString& line) {
    std::fprintf(stderr, "%s%s\n", Bench::prefix, line.toUtf8().constData());
    std::fflush(stderr);
}

// Median of sequential small POSTs on a fresh connection pool, in microseconds; with idleMs,
// each one after that long with nothing to do, as after a quiet period.
double bareRoundTripMicroseconds(const QUrl& url, int count, int idleMs = 0) {
    QNetworkAccessManager nam;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    QList<double> times;
    for (int i = 0; i < count; ++i) {
        if (idleMs > 0 && i > 0) {
            QEventLoop idle;
            QTimer::singleShot(idleMs, &idle, &QEventLoop::quit);
            idle.exec();
        }
        QElapsedTimer clock;
        clock.start();
        QNetworkReply* reply = nam.post(request, QByteArrayLiteral("{\"a\":\"b\"}"));
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        if (i > 0) // the first one opens the connection
            times.append(static_cast<double>(clock.nsecsElapsed()) / 1000.0);
        reply->deleteLater();
    }
    std::sort(times.begin(), times.end());
    return times.isEmpty() ? 0.0 : times.at(times.size() / 2);
}

} // namespace

int benchApp(int argc, char** argv, double scale, const QString& echoUrl) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ostrivane"));
    QApplication::setApplicationName(QStringLiteral("Pellory"));
    TimeScale::setFactor(scale);

    registerScenes();
    AppDelegate::applicationDidFinishLaunching();
    AppDelegate::startServices();
    // What the sign-in and the connect sequence would have left behind.
    for (const QString& code :
         {AppConstants::Codes::transmitterNotFoundOrAnyErrorOccured,
          AppConstants::Codes::noInternetConnection, AppConstants::Codes::initiatedSupportUpload,
          AppConstants::Codes::logFileDownloaded, AppConstants::Codes::supportUploadSuccess})
        AppState::EuaMessage.append(CloudEnvironment::entry(code));
    SecureChannelAttributes::shared().sessionKeyPair = QStringLiteral("session-key-pair");
    SecureChannelAttributes::shared().secureChannelToken = QStringLiteral("secure-channel-token");
    LogBytes::shared().TxInfoBytes = QByteArrayLiteral("VHhJbmZvUmVwbHk=");
    TxInfo::shared().serialNum = QStringLiteral("T123");

    MainWindow window;
    window.show();

    // "quit" (or the end of standard input) from the driver ends the process.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&input] {
        char buffer[64];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0 || QByteArray(buffer, static_cast<int>(n)).contains("quit")) {
            input.setEnabled(false);
            QCoreApplication::quit();
        }
    });

    QPointer<OstrivaneLogsViewController> screen;
    NotificationCenter::defaultCenter().addObserver(
        &app, AppConstants::Notifications::enableDisableLogoutButtons,
        [&screen](const QVariant& enabled) {
            if (!enabled.toBool() || !screen)
                return;
            const bool completed =
                screen->runState() == OstrivaneLogsViewController::RunState::completed;
            tell(completed ? QStringLiteral("done") : QStringLiteral("failed"));
        });

    // Once the cradle is open and the welcome screen shows, time the bare round trips, then
    // start the upload.
    auto* start = new QTimer(&app);
    QObject::connect(start, &QTimer::timeout, &app, [&, start] {
        auto* welcome = qobject_cast<OstrivaneWelcomeScreen*>(
            window.splitViewController()->detailViewController());
        if (!welcome || !ORSSerialPortHandler::shared().isSerialPortAvailable())
            return;
        start->stop();
        tell(QStringLiteral("rtt_us ") +
             QString::number(bareRoundTripMicroseconds(QUrl(echoUrl), 201), 'f', 1));
        tell(QStringLiteral("rtt_idle_us ") +
             QString::number(bareRoundTripMicroseconds(QUrl(echoUrl), 21, 60), 'f', 1));
        tell(QStringLiteral("start"));
        welcome->pushToLogsViewController();
        screen = qobject_cast<OstrivaneLogsViewController*>(welcome->logsChildViewController());
    });
    start->start(20);
    return QApplication::exec();
}
