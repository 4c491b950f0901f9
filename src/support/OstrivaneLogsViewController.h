#pragma once

#include "cloud/APIResult.h"
#include "core/AppConstants.h"
#include "platform/Continuation.h"
#include "platform/Task.h"
#include "platform/Transitions.h"
#include "platform/ViewController.h"
#include "shell/ChildViewController.h"
#include "support/CloudAnswer.h"
#include "support/FailureCode.h"
#include "support/LogCommand.h"
#include "support/LogCsvFile.h"
#include "support/ReplyFramer.h"
#include "support/UploadProgress.h"
#include "transmitter/ORSSerialPortHandlerDelegate.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <exception>
#include <functional>
#include <optional>
#include <type_traits>

class BusyIndicator;
class QLabel;
class QProgressBar;
class QPushButton;
struct ChannelKeys;

// The support-upload screen. Made anew for every upload; loading it runs one complete log
// download without further input: the header stage, the log types and each log, fetched
// through the comm-library relay (the cloud produces every command, the screen writes it to
// the transmitter and keeps the reply), then the CSV file is written, uploaded to the support
// page and deleted, and the completion pane is shown. While the run lasts the sidebar, the
// log-out button and the window's close button are disabled.
//
// The embedding screen is its delegate (ChildViewController); this screen never calls it.
//
// A run ends in exactly one of two ways: the completion pane, or an alert that unlocks the
// interface again. (A log whose exchange fails is skipped: its alert shows while the other
// logs go on.) Every wait for the transmitter is bounded by the reply framer; once a run has
// ended nothing more is written to the port.
//
// The implementation is split by concern: loading, progress, errors and completion in
// OstrivaneLogsViewController.cpp, the command relay in ...Relay.cpp, the header stage in
// ...HeaderStage.cpp, the log types and logs in ...LogStage.cpp, the file and its upload in
// ...Upload.cpp and the widgets in ...Layout.cpp.
class OstrivaneLogsViewController : public ViewController,
                                    public ChildViewController,
                                    public ORSSerialPortHandlerDelegate {
    Q_OBJECT
public:
    // The file that the debug log names for every line this screen writes.
    static const char* const sourceFile;
    using logCommand = ::logCommand;

    explicit OstrivaneLogsViewController(QWidget* parent = nullptr);
    ~OstrivaneLogsViewController() override;

    // Outlets.
    QLabel* labelHeading = nullptr;
    QLabel* labelSubheading = nullptr;
    QProgressBar* progressBar = nullptr;
    BusyIndicator* spinner = nullptr;
    QLabel* uploadLogsPercentageLabel = nullptr;
    QWidget* uploadLogsView = nullptr;
    QWidget* uploadCompleteView = nullptr;
    QPushButton* buttonOkToExit = nullptr;

    // Where the run stands. A run that has ended is never restarted: every upload makes a new
    // screen.
    enum class RunState { notStarted, running, completed, failed };
    RunState runState() const { return runState_; }

    // The log stage's state: log-type id to log name, and the ids in download order.
    QJsonObject logTypes;
    QStringList logEnumValue;
    // The header CSV, then each log's CSV; written to the file at the end.
    QString csvContent;

    // The exchange in flight.
    logCommand currentCommand() const { return framer_.currentCommand(); }

    // Each chunk read from the port, in arrival order, on the main thread.
    void didReceiveTransmitterBytesResponse(const QByteArray& bytes) override;

    // The error alert of a code (which also unlocks the interface and records the code), then
    // the two reply lists of LogBytes emptied.
    // message, when given, is shown instead of the code's text (see
    // showUpgradeOrSupportUploadErrorAlert).
    void showUpgradeOrSupportUploadError(const QString& code,
                                         const std::optional<QString>& message = std::nullopt);
    void addtransition(QWidget* transitionView, TransitionDirection direction);
    void showUploadCompletedView();
    // The cradle was removed.
    void transmitterDisconnected();
    // Adds an increment (percent) to the bar, on the main queue; safe from any thread.
    void updateProgress(double doubleValue);
    // Draws the progress so far on the bar and its line.
    void showProgress();
    // The header CSV with its transmitter version entries replaced by the application's.
    QString replaceTMVersion(const QString& with);
    // The completion pane's OK button: a new welcome pane above this screen.
    void buttonOkClicked();

    // The relay: one command exchange, a list request, one listed command.
    Task<void> callAPI(QString urlString, QVariantMap parameters, logCommand command);
    Task<QStringList> callAPILogUsage(QString urlString, QVariantMap parameters,
                                      logCommand command);
    Task<void> waitForTransmitterResponse(QString commandByte);

    // The header stage.
    Task<void> downloadHeaders();
    Task<void> downloadAllHeaders();
    Task<void> fetchHeaders(QString urlString, logCommand command);
    Task<QStringList> fetchLogUsage(QString urlString, logCommand command);
    Task<QStringList> fetchTagClassMapping(QString urlString, logCommand command);
    Task<void> processLogUsageResponsesCommands(QStringList commands, qsizetype currentIndex = 0);
    Task<QString> downloadLogHeader();

    // The log types and the per-log download.
    void downloadAllLogs(logCommand command);
    void sendResponseBytesToGetLogTypes(const QByteArray& bytes);
    void startLogDownloadProcess();
    Task<void> downloadLogs(QStringList logTypeIds, qsizetype index = 0);
    Task<void> fetchLogMapping(QString urlString, QString logType, logCommand command);
    Task<QString> sendResponseBytesForDownloadLog(QString logName);
    // Throws when the computer is offline, after the "no internet" alert.
    void checkInternetConnectivity();

    // The file, its upload and the clean-up.
    void downloadOfLogsCompleted();
    // The bytes written (the name is then stored), or nothing when the file could not be
    // written whole.
    LogCsvFile::WriteResult writeCSVToFile(const QString& fileName);
    void deleteLogsFileAfterSuccesfulUpload();

protected:
    void viewDidLoad() override;

private:
    void buildLayout();
    void startDownloadingLogs();
    Task<void> runDownload();

    // Ends a running run: the user is told (with the code's alert, unless an alert for the
    // failure is already on its way), every wait is ended, the framer stops and nothing more
    // is written to the port. Does nothing once the run has ended.
    void endRun(const std::optional<QString>& code,
                const std::optional<QString>& message = std::nullopt);
    bool isRunning() const { return runState_ == RunState::running; }
    // Throws LogRunEnded when the run ended while its caller was waiting.
    void ensureRunning() const;

    // Writes a command from the cloud to the transmitter and starts the bound on its reply.
    // A command that cannot be written (not base64, no port) ends the run.
    bool writeCommand(const QString& base64Command);
    void replyReady(logCommand command, const QByteArray& frame);
    // The transmitter gave no usable reply in time (or an endless one): the run ends.
    void replyFailed(const QString& why, logCommand command);

    // The alert code for a failed request (codeFor chooses it), after its console or
    // debug-log line.
    static QString
    requestFailureCode(const APIError& error, const QString& function,
                       QString (*codeFor)(const APIError&) = FailureCode::forRequest);
    static ChannelKeys channelKeys();
    // The sequence counter raised for the next command request of the command; returns the
    // new value.
    static qint64 nextSequenceNumber(logCommand command);
    // A failed request ends its wait with the request's error, and its alert is shown.
    // Returns whether the request failed.
    template <class T>
    bool requestFailed(const APIResult& result, const Continuation<T>& wait,
                       const QString& function) {
        if (result.ok())
            return false;
        wait.resume(std::make_exception_ptr(result.error()));
        showUpgradeOrSupportUploadError(requestFailureCode(result.error(), function));
        return true;
    }

    // Which unusable answers of a request get a debug-log line: each request has its own.
    enum class LoggedUnusable { always, unparsable, parsable };
    // An answer that cannot be used ends its wait with UnusableAnswer, after the debug-log line
    // (lineStart, then the reason) when it is of the kind its request logs; no alert. Returns
    // whether the answer was unusable.
    template <class T, class V>
    static bool answerUnusable(const AnswerResult<V>& answer, const Continuation<T>& wait,
                               LoggedUnusable logged, const QString& lineStart) {
        if (answer.ok())
            return false;
        wait.resume(unusableAnswer(answer.error(), logged, lineStart));
        return true;
    }
    static std::exception_ptr unusableAnswer(const AnswerError& error, LoggedUnusable logged,
                                             const QString& lineStart);

    // A new wait of the run, which becomes the one endWait ends. Exchanges never overlap, so
    // only the newest wait can be pending.
    template <class T> Continuation<T> newWait() {
        Continuation<T> wait = Continuation<T>::make();
        continuation_ = [wait](std::exception_ptr error) {
            if constexpr (std::is_void_v<T>) {
                if (!error) {
                    wait.resume();
                    return;
                }
            }
            wait.resume(std::move(error));
        };
        waitEndsWithReply_ = std::is_void_v<T>;
        return wait;
    }
    // The one way, besides the answer of the exchange's own request, that the pending wait
    // ends: without an error when the transmitter's reply has been kept (a single reply or a
    // listed one alike), with LogRunEnded when the run ends. A wait for a value ends only with
    // its request's answer or with the run, so a reply leaves it pending. A wait ends once.
    void endWait(std::exception_ptr error = nullptr);

    ReplyFramer framer_;
    UploadProgress progress_;
    static constexpr int progressRedrawDelayMs = 20;
    QTimer progressRedraw_;
    RunState runState_ = RunState::notStarted;
    // Whether the run still needs the transmitter (the header and log stages).
    bool usingTransmitter_ = false;
    // Whether the transmitter's reply to the log-types command has been passed on.
    bool logTypesHandedOver_ = false;

    // The wait of the exchange in flight, and whether the transmitter's reply ends it (see
    // endWait).
    std::function<void(std::exception_ptr)> continuation_;
    bool waitEndsWithReply_ = false;

    // Owns the frames of the run's tasks; declared last so that they go first when the screen
    // is destroyed, before anything they might refer to.
    QObject runTasks_;
};
