#include "core/AppState.h"

#include "cloud/GlobalUserManager.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

namespace AppState {

QList<StructEuaMessage> EuaMessage;
QList<Quiz> Quizzes;
QList<StructQuizResult> QuizResult;
QList<StructQuizChoicesSubmit> QuizChoices;
QList<StructGetUserQuizTracker> GetUserQuizTracker;
QList<StructGetFromZubAppConfig> GetFromZubAppConfig;

std::optional<QString> g_deviceID = QString();
std::optional<QString> g_fullVersionFromTxForAudit;
int g_quizFailAttempts = 0;
bool g_isReturningFromUpgrade = false;
std::optional<QString> g_appUserDefaultUrl;
QMap<QString, QString> AppUserDefault;
QString g_currentAppVersion;

namespace {
QString organization() {
    const QString name = QCoreApplication::organizationName();
    return name.isEmpty() ? QStringLiteral("Ostrivane") : name;
}
} // namespace

namespace {
// Where QSettings keeps a scope of the user's: on Linux its native INI file ("<scope>.conf").
// Named without a QSettings object where the rule is known: one would open the file at once,
// and a FIFO put there would hold start-up for good. Elsewhere the native store is not an INI
// file, so the stores keep one where QSettings would put it.
QString settingsFile(const QString& application) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           organization() + u'/' + application + QStringLiteral(".conf");
#else
    return QSettings(QSettings::IniFormat, QSettings::UserScope, organization(), application)
        .fileName();
#endif
}
} // namespace

QString defaultsSuiteFile() {
    // A suite of its own, beside the application's standard settings.
    return settingsFile(QStringLiteral("Pellory.defaults"));
}

QString standardDefaultsFile() {
    const QString application = QCoreApplication::applicationName();
    return settingsFile(application.isEmpty() ? QStringLiteral("Pellory") : application);
}

SettingsStore& defaults() {
    static SettingsStore store(defaultsSuiteFile());
    return store;
}

SettingsStore& standardDefaults() {
    static SettingsStore store(standardDefaultsFile());
    return store;
}

void resetForSignOut() {
    Quizzes.clear();
    QuizChoices.clear();
    QuizResult.clear();
    GetUserQuizTracker.clear();
    GetFromZubAppConfig.clear();
    g_fullVersionFromTxForAudit = QString();
    g_deviceID = QString();
    g_quizFailAttempts = 0;
    g_isReturningFromUpgrade = false;
    // The next user must not see this user's firmware record or audit history.
    GlobalUserManager::shared().clear();
}

} // namespace AppState
