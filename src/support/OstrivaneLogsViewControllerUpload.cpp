// The end of a run: the CSV file is written, uploaded to the support page and deleted, and
// the completion pane follows.
#include "support/OstrivaneLogsViewController.h"

#include "cloud/GlobalManager.h"
#include "core/AppConstants.h"
#include "core/Console.h"
#include "core/Helper.h"
#include "core/SaveFailure.h"
#include "platform/MainQueue.h"
#include "support/LogConsoleTexts.h"
#include "support/LogCsvFile.h"
#include "transmitter/TxInfo.h"

#include <QPointer>

namespace Codes = AppConstants::Codes;
namespace Texts = AppConstants::LogConsole;

namespace {
// The pause between the deletion of the file and the completion pane.
constexpr double completionDelaySeconds = 1.0;
} // namespace

void OstrivaneLogsViewController::downloadOfLogsCompleted() {
    if (!isRunning())
        return;
    Console::print(Texts::allLogsDownloaded);
    // The transmitter has said all it will say in this run.
    usingTransmitter_ = false;
    framer_.reset();

    const QString fileName = Helper::createLogFileName(TxInfo::shared().serialNum);
    // A file that was not written must not be uploaded: an empty upload would look like
    // success. The name stored by an earlier run stays as it was.
    const LogCsvFile::WriteResult written = writeCSVToFile(fileName);
    if (!written.ok) {
        // Said as it is: the catalogue's text for the code would send the user to the cradle.
        endRun(Codes::transmitterNotFoundOrAnyErrorOccured,
               SaveFailure::alertText(AppConstants::Alerts::descriptions::logsCouldNotBeSaved +
                                          written.path,
                                      written.error, written.noRoom));
        return;
    }
    const std::optional<QString> stored = LogCsvFile::storedName();
    if (!stored) {
        Console::print(Texts::noStoredFileName);
        endRun(Codes::transmitterNotFoundOrAnyErrorOccured);
        return;
    }
    // Whatever happened to the file since its write, support gets all of it or nothing.
    if (!LogCsvFile::isWhole(*stored, written.size)) {
        Console::print(Texts::failedToSaveCsv + *stored);
        endRun(Codes::transmitterNotFoundOrAnyErrorOccured);
        return;
    }
    updateProgress(UploadProgress::uploadStarting);

    QPointer<OstrivaneLogsViewController> self(this);
    GlobalManager::shared().uploadCSVFile(
        AppConstants::API::Web::QXJDiagnosticsLogs(), *stored,
        [self](const APIResult& result) {
            if (!self || !self->isRunning())
                return;
            if (!result.ok()) {
                // The file and its stored name stay for a later look.
                self->endRun(requestFailureCode(result.error(),
                                                QStringLiteral("downloadOfLogsCompleted()"),
                                                FailureCode::forUpload));
                return;
            }
            Console::print(Texts::responseData + QString::fromUtf8(result.data()));
            self->updateProgress(UploadProgress::uploadAccepted);
            GlobalManager::shared().setAuditHistory(Codes::supportUploadSuccess);
            MainQueue::async(self, [self] { self->deleteLogsFileAfterSuccesfulUpload(); });
        },
        // The file holds whole logs, far more than the small files' bound: what was written.
        written.size);
}

LogCsvFile::WriteResult OstrivaneLogsViewController::writeCSVToFile(const QString& fileName) {
    const LogCsvFile::WriteResult written = LogCsvFile::write(fileName, csvContent);
    if (!written.ok) {
        Console::print(Texts::failedToSaveCsv + written.error);
        return written;
    }
    Console::print(Texts::csvSavedAt + written.path);
    updateProgress(UploadProgress::fileWritten);
    GlobalManager::shared().setAuditHistory(Codes::logFileDownloaded);
    return written;
}

void OstrivaneLogsViewController::deleteLogsFileAfterSuccesfulUpload() {
    QString error;
    switch (LogCsvFile::deleteStored(&error)) {
    case LogCsvFile::DeleteResult::deleted:
        updateProgress(UploadProgress::fileDeleted);
        Console::print(Texts::fileDeleted);
        break;
    case LogCsvFile::DeleteResult::failed:
        Console::print(Texts::errorDeletingFile + error);
        break;
    case LogCsvFile::DeleteResult::noFile:
    case LogCsvFile::DeleteResult::noStoredName:
    case LogCsvFile::DeleteResult::noFolder:
        Console::print(Texts::fileDoesNotExist);
        break;
    }
    // The upload has succeeded: a file left behind does not change what the user is told.
    QPointer<OstrivaneLogsViewController> self(this);
    MainQueue::asyncAfter(completionDelaySeconds, this, [self] {
        if (self && self->isRunning())
            self->showUploadCompletedView();
    });
}
