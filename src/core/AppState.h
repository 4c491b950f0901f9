#pragma once

#include "core/SettingsStore.h"
#include "models/EuaMessage.h"
#include "models/Quiz.h"
#include "models/QuizAnswers.h"
#include "models/StructGetFromZubAppConfig.h"
#include "models/StructQuizResult.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

// Module-wide state of the application. Everything here lives on the main thread. Most of it
// returns to its initial value at sign-out (resetForSignOut); the settings stores, the message
// catalogue, the settings-file map and its location, and the running version survive it.
namespace AppState {

// The message catalogue, as received from the cloud plus the local record added at start-up.
extern QList<StructEuaMessage> EuaMessage;
// The quiz in progress is the first element.
extern QList<Quiz> Quizzes;
// The last decoded verdict of a quiz submission.
extern QList<StructQuizResult> QuizResult;
// The quiz's answer list, in recording order.
extern QList<StructQuizChoicesSubmit> QuizChoices;
// The quiz answer tracker's last reply that decoded.
extern QList<StructGetUserQuizTracker> GetUserQuizTracker;
// The application-configuration rows of the last support-address look-up.
extern QList<StructGetFromZubAppConfig> GetFromZubAppConfig;

// Transmitter identifier of the quiz's progress key and tracker requests; empty text at launch.
extern std::optional<QString> g_deviceID;
// Firmware version of the quiz's progress key and tracker requests; absent at launch.
extern std::optional<QString> g_fullVersionFromTxForAudit;
// Quiz retries since launch or the last sign-out.
extern int g_quizFailAttempts;
// Set when an embedded upgrade screen is removed.
extern bool g_isReturningFromUpgrade;
// Path of the application's own settings file ("AppUserDefault.txt"); set at start-up.
extern std::optional<QString> g_appUserDefaultUrl;
// In-memory copy of the application's own settings file.
extern QMap<QString, QString> AppUserDefault;
// The running application's version, stored at start-up.
extern QString g_currentAppVersion;

// The application's own settings store (a scope of its own, separate from the standard one).
SettingsStore& defaults();
// The standard settings store (holds "Quiz").
SettingsStore& standardDefaults();
// The stores' files: INI files where QSettings keeps these scopes (on Linux the native place,
// under the user's configuration folder); also for putting a store back after a test made it absent
// (defaults().reset(std::nullopt)).
QString defaultsSuiteFile();
QString standardDefaultsFile();

// Sign-out: empties the quiz lists and the configuration rows, sets the firmware version to
// empty text, the device identifier to empty text, the retry count to 0 and the upgrade flag
// to false, and forgets the signed-in user's records (GlobalUserManager). The catalogue,
// AppUserDefault, the settings stores and the paths stay.
void resetForSignOut();

} // namespace AppState
