#pragma once

#include <QString>

// Diagnostic lines that the support-upload screen writes to standard output. Nothing depends
// on their wording; they are kept here, beside the application's other texts, so that each is
// written once.
namespace AppConstants::LogConsole {
inline const QString errorDownloadingLogs = QStringLiteral("Error downloading logs: ");
inline const QString bytesFor = QStringLiteral("bytes for ");
inline const QString bytesForLogUsage = QStringLiteral("Bytes for log usage: ");
inline const QString responseBytesFor = QStringLiteral("Response bytes for");
inline const QString bytesForLog = QStringLiteral("Bytes for log ");
inline const QString timedOut = QStringLiteral("No complete reply from the transmitter for ");
inline const QString tooLarge = QStringLiteral("Reply from the transmitter too large for ");
inline const QString notWritten = QStringLiteral("Command could not be written: ");
inline const QString txMsgSeqNum = QStringLiteral("Tx_msg_seq_num ");
inline const QString listLoopSeqNum =
    QStringLiteral("Tx_msg_seq_num processLogUsageResponsesCommands ");
inline const QString logUsageIndex = QStringLiteral("Log usage Index ");
inline const QString of = QStringLiteral(" of ");
inline const QString headerParameter = QStringLiteral("Header Parameter ");
// Stands for a secret value in a printed request body.
inline const QString hiddenValue = QStringLiteral("********");
inline const QString csv = QStringLiteral("csv: ");
inline const QString dataReceived = QStringLiteral("Data received: ");
inline const QString commandData = QStringLiteral("Command Data: ");
inline const QString receiveFileStartError = QStringLiteral("Recieve file start error");
inline const QString logTypesTooShort =
    QStringLiteral("The log-types reply is too short to hold its header: ");
inline const QString downloadingLogFor = QStringLiteral("Downloading log for: ");
inline const QString logNameNotFound = QStringLiteral("Log name not found for ");
inline const QString skipping = QStringLiteral(". Skipping.");
inline const QString lhInfoMapping = QStringLiteral("lhInfoMappingResponseBytes: ");
inline const QString appendedCsvFor = QStringLiteral("Appended CSV for ");
inline const QString csvDataReceivedFor = QStringLiteral("CSV data received for ");
inline const QString logContentFor = QStringLiteral("Log Content for ");
inline const QString errorDownloadingLog =
    QStringLiteral("Error occurred while downloading log for ");
inline const QString skippingToNext = QStringLiteral(". Skipping to the next log.");
inline const QString connectionLost =
    QStringLiteral("Internet connection lost. Stopping download.");
inline const QString allLogsDownloaded = QStringLiteral("All logs downloaded!");
inline const QString csvSavedAt = QStringLiteral("CSV saved at: ");
inline const QString failedToSaveCsv = QStringLiteral("Failed to save CSV file: ");
inline const QString noStoredFileName = QStringLiteral("No stored log file name to upload.");
inline const QString responseData = QStringLiteral("Response Data: ");
inline const QString fileDoesNotExist = QStringLiteral("File does not exist.");
inline const QString errorDeletingFile = QStringLiteral("Error deleting file: ");
inline const QString fileDeleted = QStringLiteral("File deleted successfully.");
inline const QString separator = QStringLiteral(": ");
} // namespace AppConstants::LogConsole
