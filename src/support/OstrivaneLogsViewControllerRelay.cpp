// The command relay: a command fetched from the cloud is written to the transmitter and the
// reply, framed by ReplyFramer, is kept in LogBytes until a later request sends it back.
#include "support/OstrivaneLogsViewController.h"

#include "cloud/GlobalManager.h"
#include "core/AppConstants.h"
#include "core/Console.h"
#include "core/Logger.h"
#include "models/LogBytes.h"
#include "support/CloudAnswer.h"
#include "support/LogConsoleTexts.h"
#include "support/LogRequestBody.h"
#include "support/LogRunErrors.h"
#include "support/LogSequence.h"
#include "support/ReplyStore.h"
#include "transmitter/ORSSerialPortHandler.h"
#include "transmitter/SecureChannelAttributes.h"

#include <QPointer>

#include <utility>

namespace Codes = AppConstants::Codes;
namespace Texts = AppConstants::LogConsole;

Task<void> OstrivaneLogsViewController::callAPI(QString urlString, QVariantMap parameters,
                                                logCommand command) {
    ensureRunning();
    Console::print(urlString);
    // First, so that whatever the transmitter answers is collected under this command.
    framer_.setCurrentCommand(command);
    Continuation<void> wait = newWait<void>();
    QPointer<OstrivaneLogsViewController> self(this);
    GlobalManager::shared().callAPI(
        urlString, HTTPMethod::POST, parameters, ContentType::json,
        [self, wait, command](const APIResult& result) {
            if (!self || !self->isRunning())
                return;
            const QString function = QStringLiteral("callAPI(urlString:parameters:command:)");
            if (self->requestFailed(result, wait, function))
                return;
            const AnswerResult<QString> answer = CloudAnswer::command(result.data());
            // A body that is not JSON fails the wait quietly; JSON without a command is logged.
            if (answerUnusable(answer, wait, LoggedUnusable::parsable,
                               Logger::prefix(sourceFile, function, __LINE__) +
                                   AppConstants::DebugLog::errorLabel))
                return;
            if (self->writeCommand(answer.value()))
                Console::print(Texts::bytesFor + LogCommands::caseName(command) + Texts::separator +
                               answer.value());
        });
    co_await wait;
    ensureRunning();
}

Task<QStringList> OstrivaneLogsViewController::callAPILogUsage(QString urlString,
                                                               QVariantMap parameters,
                                                               logCommand command) {
    ensureRunning();
    Console::print(urlString);
    framer_.setCurrentCommand(command);
    Continuation<QStringList> wait = newWait<QStringList>();
    QPointer<OstrivaneLogsViewController> self(this);
    GlobalManager::shared().callAPI(
        urlString, HTTPMethod::POST, parameters, ContentType::json,
        [self, wait](const APIResult& result) {
            if (!self || !self->isRunning())
                return;
            const QString function =
                QStringLiteral("callAPILogUsage(urlString:parameters:command:)");
            if (self->requestFailed(result, wait, function))
                return;
            const AnswerResult<QStringList> list = CloudAnswer::commandList(result.data());
            if (answerUnusable(list, wait, LoggedUnusable::parsable,
                               Logger::prefix(sourceFile, function, __LINE__) +
                                   AppConstants::DebugLog::errorLabel))
                return;
            int& counter = SecureChannelAttributes::shared().TxMsgSeqNum;
            counter = static_cast<int>(LogSequence::afterListAnswer(counter, list.value().size()));
            wait.resume(list.value());
        });
    QStringList commands = co_await wait;
    ensureRunning();
    co_return commands;
}

Task<void> OstrivaneLogsViewController::waitForTransmitterResponse(QString commandByte) {
    ensureRunning();
    Console::print(Texts::bytesForLogUsage + commandByte);
    // Armed before the write: no reply can be handled in between.
    Continuation<void> wait = newWait<void>();
    if (!writeCommand(commandByte))
        throw LogRunEnded();
    co_await wait;
    ensureRunning();
}

bool OstrivaneLogsViewController::writeCommand(const QString& base64Command) {
    if (!isRunning())
        return false;
    if (!ORSSerialPortHandler::shared().sendCommandToTransmitter(base64Command)) {
        // Not base64, or no port to write to: no reply could ever come.
        Console::print(Texts::notWritten + base64Command);
        endRun(Codes::transmitterNotFoundOrAnyErrorOccured);
        return false;
    }
    framer_.commandWritten();
    return true;
}

void OstrivaneLogsViewController::didReceiveTransmitterBytesResponse(const QByteArray& bytes) {
    Console::print(Texts::responseBytesFor + u' ' + LogCommands::caseName(currentCommand()) + u' ' +
                   QString::number(bytes.size()));
    framer_.receive(bytes);
}

void OstrivaneLogsViewController::replyReady(logCommand command, const QByteArray& frame) {
    if (!isRunning())
        return;
    const LogCommandRule& rule = LogCommands::rule(command);
    const std::optional<QByteArray> body = LogCommands::replyBody(command, frame);
    if (rule.framing == ReplyFraming::quietPeriod)
        Console::print(Texts::bytesForLog + QString::number(frame.size()));

    if (rule.destination == ReplyDestination::handedOver) {
        // The log types are asked for once per run; bytes that trail the reply after its quiet
        // period must not start a second log download beside the first.
        if (std::exchange(logTypesHandedOver_, true))
            return;
        if (!body) {
            Console::print(Texts::logTypesTooShort + QString::number(frame.size()));
            endRun(Codes::transmitterNotFoundOrAnyErrorOccured);
            return;
        }
        sendResponseBytesToGetLogTypes(body->toBase64());
        return;
    }
    if (!body)
        return;
    ReplyStore::store(LogBytes::shared(), command, body->toBase64());
    endWait();
}

void OstrivaneLogsViewController::endWait(std::exception_ptr error) {
    if (!continuation_ || (!error && !waitEndsWithReply_))
        return;
    std::exchange(continuation_, nullptr)(std::move(error));
}

std::exception_ptr OstrivaneLogsViewController::unusableAnswer(const AnswerError& error,
                                                               LoggedUnusable logged,
                                                               const QString& lineStart) {
    if (logged == LoggedUnusable::always ||
        (logged == LoggedUnusable::unparsable) == error.unparsable)
        Logger::log(lineStart + error.description);
    return std::make_exception_ptr(UnusableAnswer(error));
}

void OstrivaneLogsViewController::replyFailed(const QString& why, logCommand command) {
    if (!isRunning())
        return;
    Console::print(why + LogCommands::caseName(command));
    endRun(Codes::transmitterNotFoundOrAnyErrorOccured);
}

QString OstrivaneLogsViewController::requestFailureCode(const APIError& error,
                                                        const QString& function,
                                                        QString (*codeFor)(const APIError&)) {
    switch (error.kind()) {
    case APIError::Kind::httpError:
        // With or without a body, a status error is reported like the others.
        if (error.data())
            Console::print(Texts::receiveFileStartError + u' ' + QString::fromUtf8(*error.data()));
        break;
    case APIError::Kind::noInternetConnection:
        break;
    case APIError::Kind::serializationError:
    case APIError::Kind::other:
    case APIError::Kind::invalidURL:
    case APIError::Kind::noData:
        Logger::log(Logger::prefix(sourceFile, function, __LINE__) +
                    AppConstants::DebugLog::errorLabel + error.localizedDescription());
        break;
    }
    return codeFor(error);
}

ChannelKeys OstrivaneLogsViewController::channelKeys() {
    const SecureChannelAttributes& channel = SecureChannelAttributes::shared();
    return {channel.sessionKeyPair, channel.secureChannelToken};
}

qint64 OstrivaneLogsViewController::nextSequenceNumber(logCommand command) {
    int& counter = SecureChannelAttributes::shared().TxMsgSeqNum;
    counter = static_cast<int>(LogSequence::beforeCommand(counter));
    Console::print(Texts::txMsgSeqNum + LogCommands::caseName(command) + u' ' +
                   QString::number(counter));
    return counter;
}
