// The log types and the per-log download: which logs the transmitter holds, then each log in
// numeric id order through four command exchanges and the cloud's CSV of it.
#include "support/OstrivaneLogsViewController.h"

#include "cloud/GlobalManager.h"
#include "core/AppConstants.h"
#include "core/Console.h"
#include "core/Logger.h"
#include "models/LogBytes.h"
#include "support/CloudAnswer.h"
#include "support/LogConsoleTexts.h"
#include "support/LogIds.h"
#include "support/LogRequestBody.h"
#include "support/LogRunErrors.h"

#include <QPointer>

namespace Codes = AppConstants::Codes;
namespace CommLib = AppConstants::API::CommLib;
namespace Texts = AppConstants::LogConsole;

void OstrivaneLogsViewController::downloadAllLogs(logCommand command) {
    if (!isRunning())
        return;
    framer_.setCurrentCommand(command);
    const qint64 sequence = nextSequenceNumber(command);
    QPointer<OstrivaneLogsViewController> self(this);
    GlobalManager::shared().callAPI(
        CommLib::getCommandBytesForLogs(), HTTPMethod::POST,
        LogRequestBody::command(channelKeys(), sequence), ContentType::json,
        [self](const APIResult& result) {
            if (!self || !self->isRunning())
                return;
            if (!result.ok()) {
                self->endRun(requestFailureCode(result.error(),
                                                QStringLiteral("downloadAllLogs(command:)")));
                return;
            }
            Console::print(Texts::dataReceived + QString::number(result.data().size()));
            const AnswerResult<QString> answer = CloudAnswer::command(result.data());
            if (!answer.ok()) {
                Console::print(answer.error().description);
                self->endRun(Codes::transmitterNotFoundOrAnyErrorOccured);
                return;
            }
            Console::print(Texts::commandData + answer.value());
            // The reply comes back through the receive path, which hands it on.
            self->writeCommand(answer.value());
        });
}

void OstrivaneLogsViewController::sendResponseBytesToGetLogTypes(const QByteArray& bytes) {
    QPointer<OstrivaneLogsViewController> self(this);
    GlobalManager::shared().callAPI(
        CommLib::sendLogTypeResponsedBytes(), LogRequestBody::logTypesReply(channelKeys(), bytes),
        [self](const APIResult& result) {
            if (!self || !self->isRunning())
                return;
            if (!result.ok()) {
                self->endRun(requestFailureCode(
                    result.error(), QStringLiteral("sendResponseBytesToGetLogTypes(bytes:)")));
                return;
            }
            const AnswerResult<QJsonObject> types = CloudAnswer::logTypes(result.data());
            if (!types.ok()) {
                Console::print(types.error().description);
                self->endRun(Codes::transmitterNotFoundOrAnyErrorOccured);
                return;
            }
            self->logTypes = types.value();
            self->logEnumValue = types.value().keys();
            self->startLogDownloadProcess();
        });
}

void OstrivaneLogsViewController::startLogDownloadProcess() {
    logEnumValue = LogIds::sorted(logEnumValue);
    downloadLogs(logEnumValue).start(&runTasks_);
}

Task<void> OstrivaneLogsViewController::downloadLogs(QStringList logTypeIds, qsizetype index) {
    for (qsizetype i = index; i < logTypeIds.size(); ++i) {
        const QString id = logTypeIds.at(i);
        Console::print(Texts::downloadingLogFor + id);
        try {
            checkInternetConnectivity();
            co_await fetchLogMapping(CommLib::logHeaderMapping(), id, logCommand::logHeaderMapping);
            checkInternetConnectivity();
            co_await fetchLogMapping(CommLib::logInfoHeaderMapping(), id,
                                     logCommand::logInfoMapping);
            checkInternetConnectivity();
            co_await fetchLogMapping(CommLib::logEnumMapping(), id, logCommand::logEnumMapping);
            checkInternetConnectivity();
            co_await fetchLogMapping(CommLib::logData(), id, logCommand::downloadLogs);

            const auto entry = logTypes.constFind(id);
            if (entry == logTypes.constEnd()) {
                Console::print(Texts::logNameNotFound + id + Texts::skipping);
                continue;
            }
            const QString logName = LogIds::nameText(entry.value());
            Console::print(Texts::downloadingLogFor + logName);
            const QString result = co_await sendResponseBytesForDownloadLog(logName);
            Console::print(Texts::logContentFor + id + Texts::separator + result);
        } catch (const LogRunEnded&) {
            co_return;
        } catch (const NotConnectedToInternet& error) {
            Console::print(Texts::errorDownloadingLog + id + Texts::separator +
                           QString::fromUtf8(error.what()) + Texts::skippingToNext);
            Console::print(Texts::connectionLost);
            endRun(std::nullopt); // the "no internet" alert is on its way
            co_return;
        } catch (const std::exception& error) {
            // This log is lost; the others may still come.
            Console::print(Texts::errorDownloadingLog + id + Texts::separator +
                           QString::fromUtf8(error.what()) + Texts::skippingToNext);
        }
        updateProgress(UploadProgress::logShare(logTypeIds.size()));
    }
    if (isRunning())
        downloadOfLogsCompleted();
}

Task<void> OstrivaneLogsViewController::fetchLogMapping(QString urlString, QString logType,
                                                        logCommand command) {
    const qint64 sequence = nextSequenceNumber(command);
    co_await callAPI(LogIds::exchangeUrl(urlString, logType, command),
                     LogRequestBody::command(channelKeys(), sequence), command);
}

Task<QString> OstrivaneLogsViewController::sendResponseBytesForDownloadLog(QString logName) {
    ensureRunning();
    const QByteArray body =
        LogRequestBody::logDataReply(channelKeys(), LogBytes::shared(), logName);
    Console::print(Texts::lhInfoMapping +
                   QString::fromLatin1(LogBytes::shared().logInfoHeaderMappingBytes));
    Continuation<QString> wait = newWait<QString>();
    QPointer<OstrivaneLogsViewController> self(this);
    GlobalManager::shared().callAPI(
        CommLib::logDataSendResponsedBytes(), body, [self, wait, logName](const APIResult& result) {
            if (!self || !self->isRunning())
                return;
            if (self->requestFailed(result, wait,
                                    QStringLiteral("sendResponseBytesForDownloadLog(logName:)")))
                return;
            const AnswerResult<QString> csv = CloudAnswer::logCsv(result.data());
            if (answerUnusable(csv, wait, LoggedUnusable::always,
                               AppConstants::SupportUpload::failedToProcessCsv))
                return;
            self->csvContent += csv.value();
            Console::print(Texts::appendedCsvFor + logName + Texts::separator + csv.value());
            wait.resume(Texts::csvDataReceivedFor + logName);
        });
    QString received = co_await wait;
    ensureRunning();
    co_return received;
}
