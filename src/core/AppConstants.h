#pragma once

#include <QString>

// The application's own texts: cloud paths, message and audit codes, settings keys, alert
// texts and notification names. Each text is written here once; call sites use the names.
//
// Addresses are functions because their base comes from configuration at run time: each is
// the configured base address (empty text when it is missing) followed by a literal path.
// The literal paths are also available on their own, in the nested `path` namespaces, for
// code that serves or matches them (the loopback cloud and the simulator).
namespace AppConstants {

namespace API {

// Comm-library service, base "HOSTCOMMLIBAPIURL". The service produces and interprets every
// transmitter command.
namespace CommLib {
namespace path {
inline const QString login = QStringLiteral("/api/Authentication/Login");
inline const QString secureChannel = QStringLiteral("/SecureChannel");
inline const QString txSensorInfoCommand = QStringLiteral("/GetTxSensorInfo/GetCommandBytes");
inline const QString txSensorInfoResponse = QStringLiteral("/GetTxSensorInfo/SendResponsedBytes");
inline const QString versionInfoRequest = QStringLiteral("/api/VersionInfoRequest/GetCommandBytes");
inline const QString linkStateRequest = QStringLiteral("/api/LinkStateRequest/GetCommandBytes");
inline const QString logClassMapping = QStringLiteral("/api/LogClassMapping/GetCommandBytes");
inline const QString logUsageResponses = QStringLiteral("/api/LogUsageResponses/GetCommandBytes");
inline const QString readPatientSettings =
    QStringLiteral("/api/ReadPatientSettings/GetCommandBytes");
inline const QString tagClassMapping = QStringLiteral("/api/TagClassMapping/GetCommandBytes");
inline const QString SendTagClassResponsedBytes =
    QStringLiteral("/api/TagClassMapping/SendResponseBytes");
inline const QString logDataHeader = QStringLiteral("/api/LogDataHeader/SendResponsedBytes");
inline const QString getCommandBytesForLogs =
    QStringLiteral("/api/Log/GetLogTypes/GetCommandBytes");
inline const QString sendLogTypeResponsedBytes =
    QStringLiteral("/api/Log/GetLogTypes/SendResponsedBytes");
inline const QString logHeaderMapping = QStringLiteral("/api/LogHeaderMapping/GetCommandBytes");
inline const QString logInfoHeaderMapping =
    QStringLiteral("/api/LogInfoHeaderMapping/GetCommandBytes");
inline const QString logEnumMapping = QStringLiteral("/api/LogEnumMapping/GetCommandBytes");
inline const QString logData = QStringLiteral("/api/LogData/GetCommandBytes");
inline const QString logDataSendResponsedBytes = QStringLiteral("/api/LogData/SendResponsedBytes");
// Every command request of the relay goes to a path ending in this.
inline const QString commandBytesSuffix = QStringLiteral("/GetCommandBytes");
} // namespace path

QString baseURL();
QString login();
QString secureChannel();
QString txSensorInfoCommand();
QString txSensorInfoResponse();
QString versionInfoRequest();
QString linkStateRequest();
QString logClassMapping();
QString logUsageResponses();
QString readPatientSettings();
QString tagClassMapping();
QString SendTagClassResponsedBytes();
QString logDataHeader();
QString getCommandBytesForLogs();
QString getLogTypes(); // the same address as getCommandBytesForLogs()
QString sendLogTypeResponsedBytes();
QString logHeaderMapping();
QString logInfoHeaderMapping();
QString logEnumMapping();
QString logData();
QString logDataSendResponsedBytes();
} // namespace CommLib

// Portal API, base "HOSTAPIURL".
namespace Host {
namespace path {
inline const QString getFromZubAppConfig = QStringLiteral("/api/Zub/GetFromZubAppConfig");
inline const QString sendZubEmail = QStringLiteral("/api/zub/SendZubEmail");
inline const QString getZubAuditHistory = QStringLiteral("/api/zub/GetZubAuditHistory");
// Audit-record post: a JSON body describing one audited step (see the cloud client).
inline const QString setZubAuditHistory = QStringLiteral("/api/zub/SetZubAuditHistory");
// Message catalogue fetched at start-up: a JSON array of catalogue entries.
inline const QString getEuaMessages = QStringLiteral("/api/zub/GetEuaMessages");
inline const QString getUserQuizTracker = QStringLiteral("/api/QUIZ/GetUserQuizTracker");
inline const QString setUserQuizTracker = QStringLiteral("/api/QUIZ/SetUserQuizTracker");
inline const QString submitQuizResults = QStringLiteral("/api/quiz/SubmitQuizResults");
inline const QString getFirmwareQuiz = QStringLiteral("/api/quiz/GetFirmwareQuiz");
} // namespace path

// The audit-record post to setZubAuditHistory(): one JSON object of text members,
//   {"Code": seven-digit code, "ZubStateID": state ("1" unless the caller says otherwise),
//    "UserID": the signed-in user's "Id" (empty before sign-in),
//    "TransmitterID": the user's transmitter id in decimal (empty when unknown),
//    "Date": the moment of the audited step, UTC, "yyyy-MM-ddTHH:mm:ssZ"}.
// A record kept while offline is sent later unchanged, with its own moment.
namespace AuditRecord {
inline const QString code = QStringLiteral("Code");
inline const QString zubStateID = QStringLiteral("ZubStateID");
inline const QString userID = QStringLiteral("UserID");
inline const QString transmitterID = QStringLiteral("TransmitterID");
inline const QString date = QStringLiteral("Date");
// States of a record: the default, a quiz verdict, a quiz saved for later.
inline const QString stateDefault = QStringLiteral("1");
inline const QString stateQuizVerdict = QStringLiteral("2");
inline const QString stateQuizSavedForLater = QStringLiteral("3");
} // namespace AuditRecord

QString baseURL();
QString getFromZubAppConfig();
QString sendZubEmail();
QString getZubAuditHistory();
QString setZubAuditHistory();
QString getEuaMessages();
QString getUserQuizTracker();
QString setUserQuizTracker();
QString submitQuizResults();
QString getFirmwareQuiz();
} // namespace Host

// Web pages, base "HOSTWEBURL".
namespace Web {
namespace path {
inline const QString QXJDiagnosticsLogs = QStringLiteral("/QXJUpload.aspx");
} // namespace path

QString baseURL();
QString QXJDiagnosticsLogs();
} // namespace Web

// Token service, base "HOSTAUTHENTICATIONURL".
namespace Authentication {
namespace path {
inline const QString token = QStringLiteral("/connect/token");
} // namespace path

QString baseURL();
QString token();
} // namespace Authentication

// Vault, base "HOSTVAULTURL".
namespace Vault {
namespace path {
inline const QString getTxFleetSecret = QStringLiteral("/api/vault/GetTxFleetSecret");
} // namespace path

QString baseURL();
QString getTxFleetSecret();
} // namespace Vault

} // namespace API

// Seven-digit message and audit codes, held as text. Every user-visible text of a code comes
// from the message catalogue.
namespace Codes {
inline const QString checkInternetConnectionBeforeUpload = QStringLiteral("8000019");
inline const QString initiatedSupportUpload = QStringLiteral("8000017");
inline const QString logFileDownloaded = QStringLiteral("8000018");
inline const QString noInternetConnection = QStringLiteral("5000025");
inline const QString quizCompleted = QStringLiteral("5000051");
inline const QString quizFailed = QStringLiteral("5000058");
inline const QString quizSavedLaterOrContinue = QStringLiteral("5000052");
inline const QString supportUploadSuccess = QStringLiteral("8000003");
inline const QString transmitterNotFoundOrAnyErrorOccured = QStringLiteral("8000008");
// Quiz: Next pressed without an answer.
inline const QString quizQuestionNotAnswered = QStringLiteral("5000027");
// Quiz: the note of the failure sheet; the sheet is shown only when the catalogue holds it.
inline const QString quizFailedNote = QStringLiteral("5000032");
// Quiz: shown on the fourth retry.
inline const QString quizRetryLimitReached = QStringLiteral("5000021");
// Help screen: its set-up runs only when the catalogue holds this code.
inline const QString helpScreenLoaded = QStringLiteral("7000008");
// Help screen: the user-guide button acts only when the catalogue holds this code.
inline const QString userGuideRequested = QStringLiteral("7000011");
// Home screen: the cradle was connected.
inline const QString transmitterConnected = QStringLiteral("7000015");
// The local catalogue record added at start-up, shown when a code is missing from the cloud's
// catalogue.
inline const QString missingMessage = QStringLiteral("100");
} // namespace Codes

// The local catalogue record "100", added at start-up.
namespace LocalCatalogue {
inline const QString missingMessageText =
    QStringLiteral("Something went wrong. Please check your internet connection and try again, "
                   "or contact Ostrivane Customer Support.");
inline const QString missingMessageDescription =
    QStringLiteral("The message for this code is missing from the message catalogue.");
inline const QString language = QStringLiteral("en");
} // namespace LocalCatalogue

// Keys of the application's settings store (AppState::defaults()).
namespace userdefaultKeys {
inline const QString logFileName = QStringLiteral("LogFileName");
// The code of the audit record waiting to be sent, as other builds read it; the whole record
// (state, user, transmitter and the moment of the step) waits beside it under a key of ours.
inline const QString pendingAudits = QStringLiteral("PendingAudits");
inline const QString pendingAuditRecord = QStringLiteral("PelloryPendingAuditRecord");
inline const QString txFleetKey = QStringLiteral("TxFleetKey");
inline const QString currentAppVersion = QStringLiteral("currentAppVersion");
// Kept in the standard store (AppState::standardDefaults()), not in the application's own:
// a JSON array of quiz records.
inline const QString quiz = QStringLiteral("Quiz");
} // namespace userdefaultKeys

// The application's own settings file in the application-support folder and its keys.
namespace AppUserDefaultFile {
inline const QString fileName = QStringLiteral("AppUserDefault.txt");
inline const QString buildDate = QStringLiteral("builddate");
inline const QString eulaAcceptedVersion = QStringLiteral("EulaAcceptedVersion");
// Debug-log line of every store: this + key + valueLabel + value.
inline const QString storedKey = QStringLiteral("Set userdefault key: ");
inline const QString valueLabel = QStringLiteral(" | value: ");
// Console lines of a file that cannot be read, or read back after writing.
inline const QString readError = QStringLiteral("error reading");
inline const QString writeError = QStringLiteral("error writing");
// Debug-log error of a file that exists but can neither be read nor be set aside.
inline const QString cannotBeRead = QStringLiteral("the settings file exists but cannot be read");
} // namespace AppUserDefaultFile

// What is said of the application's own files when they cannot be saved.
namespace SavedFiles {
// Console and debug-log line of a change the disk still refused when the application quit:
// this + the file + ": " + why.
inline const QString notSavedAtQuit = QStringLiteral("Could not be saved before quitting: ");
} // namespace SavedFiles

// Keys of the application's information file (see core/Configuration.h).
namespace Configurations {
inline const QString hostWebURL = QStringLiteral("HOSTWEBURL");
inline const QString hostAPIURL = QStringLiteral("HOSTAPIURL");
inline const QString hostAuthenticationURL = QStringLiteral("HOSTAUTHENTICATIONURL");
inline const QString hostCGMUploadAPIURL = QStringLiteral("HOSTCGMUPLOADAPIURL");
inline const QString hostVaultURL = QStringLiteral("HOSTVAULTURL");
inline const QString hostVaultV1URL = QStringLiteral("HOSTVAULTV1URL");
inline const QString hostCommLibAPIURL = QStringLiteral("HOSTCOMMLIBAPIURL");
inline const QString env = QStringLiteral("ENV");
inline const QString helpEmailAddress = QStringLiteral("HELPEMAILADDR");
inline const QString firmwareOutputInLogFile = QStringLiteral("FIRMWARE_OUTPUT_IN_LOG_FILE");
inline const QString txLogOutputMsgLineCount = QStringLiteral("TX_LOG_OUTPUT_MSG_LINE_COUNT");
inline const QString txLogExpiredMinutes = QStringLiteral("TX_LOG_EXPIRED_MINUTES");
inline const QString serialDevicePath = QStringLiteral("SERIALDEVICEPATH");
inline const QString bundleShortVersionString = QStringLiteral("CFBundleShortVersionString");
inline const QString bundleVersion = QStringLiteral("CFBundleVersion");
} // namespace Configurations

namespace Alerts {
namespace titles {
inline const QString notification = QStringLiteral("Notification");
inline const QString saveAndContinueLater = QStringLiteral("Save and continue later");
} // namespace titles

namespace descriptions {
inline const QString help =
    QStringLiteral("You have successfully sent a request for help.\n\nAn Ostrivane Customer "
                   "Support Representative will help to resolve the issue as soon as possible.");
inline const QString userGuide = QStringLiteral(
    "You have successfully sent a request for an Ostrivane Pellory App Paper User Guide.\n\nThe "
    "Ostrivane Customer Support team will mail out your requested user guide as soon as "
    "possible.");
inline const QString selectAnOption = QStringLiteral("Please select an option");
inline const QString messageCanNotBeBlank = QStringLiteral("Message can not be blank!");
inline const QString fillMandatoryFields =
    QStringLiteral("Please fill out all the mandatory fields!");
// Quiz failure sheet: secondary header, and the ending of "<wrong> of <total>" + this.
inline const QString quizFailedHeader =
    QStringLiteral("Sorry! All questions must be answered\ncorrectly and completely.");
inline const QString questionsAnsweredIncorrectly =
    QStringLiteral(" questions answered incorrectly!");
// Quiz save prompt: message and note.
inline const QString saveProgressQuestion =
    QStringLiteral("Do you want to save your progress and exit the quiz?");
inline const QString saveProgressNote =
    QStringLiteral("You may return at any time to finish the quiz.");
// The catalogue has no text for a save that the disk refused. What could not be saved is
// followed by ". " and freeDiskSpace where the cause was room, else by ": ", the system's
// reason and "." (SaveFailure).
inline const QString freeDiskSpace = QStringLiteral("Please free some disk space and try again.");
inline const QString quizProgressCouldNotBeSaved =
    QStringLiteral("Your quiz progress could not be saved on this computer");
inline const QString quizProgressNotSaved =
    quizProgressCouldNotBeSaved + QStringLiteral(". ") + freeDiskSpace;
// A support upload's log CSV: this + the file's path.
inline const QString logsCouldNotBeSaved =
    QStringLiteral("The transmitter's logs could not be saved on this computer as ");
// The catalogue comes from the cloud, whose addresses are in the information file: %1 is the
// file, %2 why it could not be read.
inline const QString informationFileUnreadable = QStringLiteral(
    "Pellory could not read its configuration file, so it cannot reach the cloud until the file "
    "is corrected.\n\n%1\n%2");
} // namespace descriptions

namespace buttons {
// The close button of the coded error alert; the blanks belong to the title.
inline const QString close = QStringLiteral(" Close ");
} // namespace buttons
} // namespace Alerts

// Names posted on the default notification centre.
namespace Notifications {
inline const QString enableDisableMenuButtonsForSuportUpload =
    QStringLiteral("EnableDisableMenuButtonsForSuportUpload");
inline const QString enableDisableLogoutButtons = QStringLiteral("EnableDisableLogoutButtons");
inline const QString enableDisableMenuButtons = QStringLiteral("EnableDisableMenuButtons");
inline const QString showWelcomeScreen = QStringLiteral("ShowWelcomeScreen");
inline const QString serialPortsWereConnected =
    QStringLiteral("ORSSerialPortsWereConnectedNotification");
inline const QString serialPortsWereDisconnected =
    QStringLiteral("ORSSerialPortsWereDisconnectedNotification");
inline const QString serialPortConnectedDisconnected =
    QStringLiteral("SerialPortConnectedDisconnected");
inline const QString setTransmitterSWandAppVersions =
    QStringLiteral("SetTranmitterSWandAppVersionsBasedOnTxConnectionStatus");
inline const QString quizRetry = QStringLiteral("QuizRetry");
inline const QString firmwareUpgradeCompleted = QStringLiteral("Firmware.Upgrade.Completed");
inline const QString closeTheApp = QStringLiteral("CloseTheApp");
inline const QString selectionChanged = QStringLiteral("selectionChangedNotification");
} // namespace Notifications

// The transmitter's cradle as a serial device.
namespace SerialPort {
// Part of the cradle's device name (macOS names it "usbmodem" + its USB serial number).
inline const QString cradleNameFragment = QStringLiteral("usbmodemKalimbo2SN5");
// Console and debug-log lines of a cradle that cannot be used: this + the device (and why).
inline const QString cannotBeOpened =
    QStringLiteral("Transmitter cradle found but cannot be opened: ");
inline const QString notFound = QStringLiteral("Transmitter cradle not found: ");
} // namespace SerialPort

// Scene identifiers of the storyboard "Main".
namespace Scenes {
inline const QString storyboardMain = QStringLiteral("Main");
inline const QString logsViewController = QStringLiteral("OstrivaneLogsViewController");
inline const QString quizViewController = QStringLiteral("OstrivaneQuizViewController");
inline const QString quizAlertView = QStringLiteral("OstrivaneQuizAlertView");
inline const QString welcomeScreen = QStringLiteral("OstrivaneWelcomeScreen");
inline const QString checkForUpgradesViewController =
    QStringLiteral("OstrivaneCheckForUpgradesViewController");
inline const QString customAlertView = QStringLiteral("OstrivaneCustomAlertView");
inline const QString helpViewController = QStringLiteral("HelpViewController");
} // namespace Scenes

// Sidebar rows.
namespace Sidebar {
inline const QString home = QStringLiteral("Home");
inline const QString history = QStringLiteral("History");
inline const QString help = QStringLiteral("Help");
// Shown while the menu is disabled for a firmware upgrade.
inline const QString upgrading = QStringLiteral("upgrading...");
} // namespace Sidebar

// Members of the comm-library requests and answers.
namespace CommLibKeys {
inline const QString sessionKeyPair = QStringLiteral("sessionkeypair");
inline const QString secureChannelToken = QStringLiteral("secureChannelToken");
inline const QString txMsgSeqNum = QStringLiteral("Tx_msg_seq_num");
inline const QString bytes = QStringLiteral("bytes");
inline const QString csv = QStringLiteral("csv");
inline const QString logName = QStringLiteral("logname");
inline const QString logClassMappingResponseBytes = QStringLiteral("logClassMappingResponseBytes");
inline const QString txSensorInfoResponseBytes = QStringLiteral("txSensorInfoResponseBytes");
inline const QString versionInfoResponseBytes = QStringLiteral("versionInfoResponseBytes");
inline const QString linkStateResponseBytes = QStringLiteral("linkStateResponseBytes");
inline const QString readPatientSettingsResponseBytes =
    QStringLiteral("readPatientSettingsResponseBytes");
inline const QString logUsageMappingResponseBytesList =
    QStringLiteral("logUsageMappingResponseBytesList");
inline const QString tagClassMappingResponseBytes = QStringLiteral("tagClassMappingResponseBytes");
inline const QString tagClassListResponseBytesList =
    QStringLiteral("tagClassListResponseBytesList");
inline const QString lhMappingResponseBytes = QStringLiteral("lhMappingResponseBytes");
inline const QString lhInfoMappingResponseBytes = QStringLiteral("lhInfoMappingResponseBytes");
inline const QString lgEnumMappingResponseBytes = QStringLiteral("lgEnumMappingResponseBytes");
// Appended to a per-log command path before the log-type id (the info header mapping path
// takes "/" instead).
inline const QString logTypeQuery = QStringLiteral("?logType=");
} // namespace CommLibKeys

// The support upload (log download) screen.
namespace SupportUpload {
inline const QString processStarted = QStringLiteral("Support Upload Process started");
inline const QString completedHeading = QStringLiteral("Support upload Completed");
inline const QString completedSubheading =
    QStringLiteral("Your transmitter logs has been uploaded.");
// Follows the whole percentage on the progress line.
inline const QString progressSuffix = QStringLiteral("% of upload completed. Please wait...");
// The header CSV's version entry and what replaces it.
inline const QString tmVersionPattern = QStringLiteral("TMVERSION,([\\d.]+)");
inline const QString qxjVersionPrefix = QStringLiteral("QXJVERSION,");
inline const QString qxjVersionUnknown = QStringLiteral("QXJVERSION,x.x.x");
// Description of an answer without usable command data.
inline const QString failedToExtractCommand =
    QStringLiteral("Failed to parse JSON or extract command data.");
inline const QString invalidJsonStructure = QStringLiteral("Invalid JSON structure.");
inline const QString noCsvDataFound = QStringLiteral("No CSV data found in response.");
// Domains of the errors above: an unusable command or header answer, a log-data answer that is
// not an object, one without its CSV.
inline const QString apiErrorDomain = QStringLiteral("APIError");
inline const QString jsonErrorDomain = QStringLiteral("JSONError");
inline const QString csvErrorDomain = QStringLiteral("CSVError");
inline const QString failedToProcessCsv = QStringLiteral("Failed to process CSV data: ");
// Pieces of the log CSV file name (see Helper::createLogFileName).
inline const QString fileNamePrefix = QStringLiteral("WPZ");
inline const QString fileNameSeparator = QStringLiteral("_");
inline const QString fileNameFourZeros = QStringLiteral("0000");
inline const QString fileNameTwoZeros = QStringLiteral("00");
inline const QString fileNameThreeZeros = QStringLiteral("000");
// The time stamp is yyyy.MM.dd'T'hh.mm.ss with hh on the 12-hour clock and no AM/PM marker.
inline const QString fileNameDatePart = QStringLiteral("yyyy.MM.dd");
inline const QString fileNameTimeMark = QStringLiteral("T");
inline const QString fileNameTimeSeparator = QStringLiteral(".");
inline const QString fileNameExtension = QStringLiteral(".csv");
} // namespace SupportUpload

// The help screen and its e-mail requests.
namespace Help {
// Request kinds: the titles of the pop-up's items.
inline const QString menuSelectOption = QStringLiteral("Select an option");
inline const QString menuTroubleShooting = QStringLiteral("Ostrivane Pellory Troubleshooting");
inline const QString menuRequestCopy =
    QStringLiteral("Requesting a paper copy of the Ostrivane Pellory User Guide");
inline const QString menuOther = QStringLiteral("Other");
inline const QString sendRequestTitle = QStringLiteral("Send Request");
// Message counter: "<count>" + this.
inline const QString characterCountSuffix = QStringLiteral(" of 1000 Characters");
inline const QString digits = QStringLiteral("0123456789");
inline const QString subjectTroubleShooting =
    QStringLiteral("Ostrivane Pellory App- Ostrivane Pellory App Troubleshooting Message");
inline const QString subjectRequestCopy = QStringLiteral(
    "Ostrivane Pellory App- Requesting a paper copy of the Ostrivane Pellory App User Guide");
inline const QString subjectOther = QStringLiteral("Ostrivane Pellory App- Other Message");
inline const QString messageBodyIntro =
    QStringLiteral("An Ostrivane user submitted a Message on  ");
inline const QString requestCopyBodyIntro =
    QStringLiteral("An Ostrivane user submitted a request for a paper copy of the Ostrivane "
                   "Pellory User Guide on ");
inline const QString messageHeading = QStringLiteral("Message\n=======\n");
inline const QString shipToHeading = QStringLiteral("Ship to:\n======\n");
inline const QString activityFileName = QStringLiteral("ActivityHistoryLog.csv");
inline const QString supportEmailMissing = QStringLiteral("Support email is not present");
// Names of the application-configuration rows that the screen looks up.
inline const QString configUserGuideLink = QStringLiteral("USUserGuideLink");
inline const QString configSupportEmail = QStringLiteral("ZubSupportEmail");
// Members of the portal requests.
inline const QString keyName = QStringLiteral("Name");
inline const QString keyUserId = QStringLiteral("userid");
inline const QString keyToAddress = QStringLiteral("toAddress");
inline const QString keySubject = QStringLiteral("subject");
inline const QString keyBody = QStringLiteral("body");
inline const QString keyFileName = QStringLiteral("FileName");
inline const QString keyFileStream = QStringLiteral("FileStream");
} // namespace Help

// The training quiz.
namespace QuizScreen {
inline const QString questionTitlePrefix = QStringLiteral("Question ");
inline const QString questionTitleOf = QStringLiteral(" of ");
inline const QString quizComplete = QStringLiteral("Quiz Complete!");
inline const QString retakeQuiz = QStringLiteral("Retake Quiz");
inline const QString finishPreviousQuiz =
    QStringLiteral("You may finish the quiz you previously started below.");
// Tracker form fields, in the order they are sent.
inline const QString formQuizId = QStringLiteral("QuizID=");
inline const QString formFirmwareVersion = QStringLiteral("&FirmwareVersion=");
inline const QString formTransmitterId = QStringLiteral("&TransmitterID=");
inline const QString formChoiceSelectionJson = QStringLiteral("&ChoiceSelectionJSON=");
// Submission body: this, the encoded question list, then "}".
inline const QString submissionPrefix = QStringLiteral("{\"QuizQuestions\":");
inline const QString submissionSuffix = QStringLiteral("}");
// The tracker's answer text: "[" + items joined by "," + "]", each item this, the id, "}".
inline const QString choiceSelectionItemPrefix = QStringLiteral("{\"ChoiceID\":");
inline const QString choiceSelectionItemSuffix = QStringLiteral("}");
inline const QString choiceSelectionSeparators = QStringLiteral("{}:");
// Shown in the title when there is no quiz, or a quiz without questions, to take.
inline const QString noQuizAvailable = QStringLiteral("No quiz is available.");
// Shown in the title while a reopened quiz learns from the tracker where it opens.
inline const QString loadingQuiz = QStringLiteral("Loading the quiz\u2026");
inline const QString startTransmitterUpgrade = QStringLiteral("Start Transmitter Upgrade");
inline const QString quizPassed =
    QStringLiteral("You have passed the training quiz. You may now upgrade your transmitter.");
inline const QString previousTitle = QStringLiteral("Previous");
inline const QString nextTitle = QStringLiteral("Next");
inline const QString saveAndContinueTitle = QStringLiteral("Save and continue later");
inline const QString resumeQuizTitle = QStringLiteral("Resume Quiz");
inline const QString freeTextPlaceholder = QStringLiteral("Type your answer here");
// Console lines.
inline const QString errorDecodingStruct = QStringLiteral("Error decoding struct: ");
inline const QString retrievedPerson = QStringLiteral("Retrieved person: ");
inline const QString checkboxState = QStringLiteral("Checkbox state: ");
inline const QString stateOn = QStringLiteral("On");
inline const QString stateOff = QStringLiteral("Off");
inline const QString squareButtonClicked = QStringLiteral("Square button clicked");
} // namespace QuizScreen

// Common HTTP texts of requests that the quiz builds itself.
namespace Http {
inline const QString post = QStringLiteral("POST");
inline const QString get = QStringLiteral("GET");
inline const QString authorization = QStringLiteral("Authorization");
inline const QString bearerPrefix = QStringLiteral("Bearer ");
inline const QString contentType = QStringLiteral("Content-Type");
inline const QString applicationJson = QStringLiteral("application/json");
inline const QString formUrlEncoded = QStringLiteral("application/x-www-form-urlencoded");
// The file upload's multipart form: the request's content type (followed by the boundary) and
// the header lines of its one part (the first followed by the quoted file name).
inline const QString multipartFormData = QStringLiteral("multipart/form-data; boundary=");
inline const QString partContentDisposition =
    QStringLiteral("Content-Disposition: form-data; filename=");
inline const QString partContentType = QStringLiteral("Content-Type: application/octet-stream");
// Console line of an upload whose file is missing (an empty part is sent).
inline const QString uploadFileMissing =
    QStringLiteral("File does not exist in the Documents directory.");
// What a transfer failure says when the connection dropped and the request was not sent again.
inline const QString connectionLost = QStringLiteral("The network connection was lost.");
} // namespace Http

// The debug log.
namespace DebugLog {
inline const QString fileNamePrefix = QStringLiteral("Qxj_DebugLog_");
inline const QString fileNameDateFormat = QStringLiteral("MMddyyyy");
inline const QString fileExtension = QStringLiteral(".txt");
inline const QString lineDateFormat = QStringLiteral("MM/dd/yyyy HH:mm:ss");
inline const QString fileNameLabel = QStringLiteral("file_name:");
inline const QString functionLabel = QStringLiteral(" | function: ");
inline const QString lineLabel = QStringLiteral(" | line: ");
inline const QString errorLabel = QStringLiteral(" | ERROR: ");
inline const QString responseLabel = QStringLiteral(" | Response: ");
// The header block written on request.
inline const QString headerRule =
    QStringLiteral("==================================================");
inline const QString headerTitle = QStringLiteral("Ostrivane Pellory debug log");
inline const QString headerAppVersion = QStringLiteral("App Version: ");
inline const QString headerOperatingSystem = QStringLiteral("Operating System: ");
inline const QString headerKernel = QStringLiteral("Kernel: ");
inline const QString headerArchitecture = QStringLiteral("Processor Architecture: ");
inline const QString headerDate = QStringLiteral("Date: ");
} // namespace DebugLog

// The system-information block of a help e-mail.
namespace SystemInfo {
inline const QString heading =
    QStringLiteral("\n\nSystem Information:\n==============\nTransmitter Serial Number : ");
inline const QString firmwareVersion = QStringLiteral(" \n Firmware Version: ");
inline const QString sensorSerialNumber = QStringLiteral(" \n Sensor Serial Number: ");
inline const QString insertionDate = QStringLiteral(" \n Insertion Date: ");
inline const QString mmaVersion = QStringLiteral(" \n MMA Version: ");
inline const QString appVersion = QStringLiteral(" \n Ostrivane Pellory app Version: ");
inline const QString computerType = QStringLiteral(" \n Computer Type: ");
inline const QString computerMac = QStringLiteral("Mac");
inline const QString computerWindows = QStringLiteral("Windows");
inline const QString computerLinux = QStringLiteral("Linux");
} // namespace SystemInfo

// The activity CSV of a help e-mail.
namespace ActivityCsv {
inline const QString header =
    QStringLiteral("Date, TransmitterID, FirmwareID, Code, Description\n");
} // namespace ActivityCsv

// Console lines of the reply-size helper.
namespace UsbMessage {
inline const QString tooShort = QStringLiteral("Message too short to contain a valid header");
inline const QString expectedCount = QStringLiteral("Expected response byte count:");
} // namespace UsbMessage

// The local time zone's offset as the help e-mail shows it: "(GMT " + hours + ":" + mm + ")".
namespace GmtDate {
inline const QString format = QStringLiteral("MMMM d yyyy 'at' h:mm AP");
inline const QString offsetOpen = QStringLiteral("(GMT ");
inline const QString offsetClose = QStringLiteral(")");
} // namespace GmtDate

} // namespace AppConstants
