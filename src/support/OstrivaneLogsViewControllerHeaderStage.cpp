// The header stage: the transmitter's header replies in their fixed order, both command lists
// sent one by one, and the cloud's header CSV that starts the upload's CSV text.
#include "support/OstrivaneLogsViewController.h"

#include "cloud/GlobalManager.h"
#include "core/AppConstants.h"
#include "core/Console.h"
#include "core/Logger.h"
#include "models/LogBytes.h"
#include "platform/BundleInfo.h"
#include "support/CloudAnswer.h"
#include "support/HeaderVersion.h"
#include "support/LogConsoleTexts.h"
#include "support/LogRequestBody.h"
#include "support/LogRunErrors.h"
#include "support/LogSequence.h"
#include "transmitter/SecureChannelAttributes.h"

#include <QPointer>

namespace CommLib = AppConstants::API::CommLib;
namespace Texts = AppConstants::LogConsole;

Task<void> OstrivaneLogsViewController::downloadAllHeaders() {
    Logger::log(AppConstants::SupportUpload::processStarted, true);
    constexpr double step = UploadProgress::headerStep;

    co_await fetchHeaders(CommLib::versionInfoRequest(), logCommand::vesrionInfo);
    updateProgress(step);
    co_await fetchHeaders(CommLib::linkStateRequest(), logCommand::linkState);
    updateProgress(step);
    co_await fetchHeaders(CommLib::logClassMapping(), logCommand::logClassMapping);
    updateProgress(step);
    const QStringList logUsage =
        co_await fetchLogUsage(CommLib::logUsageResponses(), logCommand::logUsage);
    updateProgress(step);
    co_await processLogUsageResponsesCommands(logUsage);
    co_await fetchHeaders(CommLib::readPatientSettings(), logCommand::patientSettings);
    updateProgress(step);
    co_await fetchHeaders(CommLib::tagClassMapping(), logCommand::tagClassMapping);
    updateProgress(step);
    const QStringList tagClasses = co_await fetchTagClassMapping(
        CommLib::SendTagClassResponsedBytes(), logCommand::tagClassList);
    updateProgress(step);
    co_await processLogUsageResponsesCommands(tagClasses);
    updateProgress(UploadProgress::headerListsDone);

    const QString csv = co_await downloadLogHeader();
    Logger::log(SCREEN_LOG_PREFIX_FN("downloadAllHeaders()") +
                AppConstants::DebugLog::responseLabel + csv);
}

Task<void> OstrivaneLogsViewController::fetchHeaders(QString urlString, logCommand command) {
    const qint64 sequence = nextSequenceNumber(command);
    co_await callAPI(urlString, LogRequestBody::command(channelKeys(), sequence), command);
}

Task<QStringList> OstrivaneLogsViewController::fetchLogUsage(QString urlString,
                                                             logCommand command) {
    const qint64 sequence = nextSequenceNumber(command);
    co_return co_await callAPILogUsage(
        urlString, LogRequestBody::logUsageList(channelKeys(), sequence, LogBytes::shared()),
        command);
}

Task<QStringList> OstrivaneLogsViewController::fetchTagClassMapping(QString urlString,
                                                                    logCommand command) {
    const qint64 sequence = nextSequenceNumber(command);
    co_return co_await callAPILogUsage(
        urlString, LogRequestBody::tagClassList(channelKeys(), sequence, LogBytes::shared()),
        command);
}

Task<void> OstrivaneLogsViewController::processLogUsageResponsesCommands(QStringList commands,
                                                                         qsizetype currentIndex) {
    // One at a time, in the list's order, each after the previous reply has been kept.
    for (qsizetype i = currentIndex; i < commands.size(); ++i) {
        Console::print(Texts::logUsageIndex + QString::number(i) + Texts::of +
                       QString::number(commands.size()));
        updateProgress(UploadProgress::listCommandShare(commands.size()));
        int& counter = SecureChannelAttributes::shared().TxMsgSeqNum;
        counter = static_cast<int>(LogSequence::beforeCommand(counter));
        Console::print(Texts::listLoopSeqNum + QString::number(counter));
        co_await waitForTransmitterResponse(commands.at(i));
    }
}

Task<QString> OstrivaneLogsViewController::downloadLogHeader() {
    ensureRunning();
    const ChannelKeys keys = channelKeys();
    const QByteArray body = LogRequestBody::header(keys, LogBytes::shared());
    // The secure channel's values are secrets: the printed body shows whether each is there,
    // not what it is.
    const auto shown = [](const QString& secret) {
        return secret.isEmpty() ? secret : Texts::hiddenValue;
    };
    Console::print(Texts::headerParameter +
                   QString::fromUtf8(LogRequestBody::header(
                       ChannelKeys{shown(keys.sessionKeyPair), shown(keys.secureChannelToken)},
                       LogBytes::shared())));
    Continuation<QString> wait = newWait<QString>();
    QPointer<OstrivaneLogsViewController> self(this);
    GlobalManager::shared().callAPI(
        CommLib::logDataHeader(), body, [self, wait](const APIResult& result) {
            if (!self || !self->isRunning())
                return;
            const QString function = QStringLiteral("downloadLogHeader()");
            if (self->requestFailed(result, wait, function))
                return;
            const AnswerResult<QString> csv = CloudAnswer::headerCsv(result.data());
            // Only a body that is not JSON is logged; JSON without its text is not.
            if (answerUnusable(csv, wait, LoggedUnusable::unparsable,
                               Logger::prefix(sourceFile, function, __LINE__) +
                                   AppConstants::DebugLog::errorLabel))
                return;
            self->csvContent += self->replaceTMVersion(csv.value()) + u'\n';
            Console::print(Texts::csv + csv.value());
            wait.resume(csv.value());
        });
    QString csv = co_await wait;
    ensureRunning();
    co_return csv;
}

QString OstrivaneLogsViewController::replaceTMVersion(const QString& with) {
    // Read each time: the version belongs to the application's information file.
    return ::replaceTMVersion(
        with, BundleInfo::find(AppConstants::Configurations::bundleShortVersionString));
}
