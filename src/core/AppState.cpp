#include "core/AppState.h"

#include "cloud/GlobalUserManager.h"

#include <QCoreApplication>
#include <QSettings>

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

QString defaultsSuiteFile() {
    // A suite of its own, beside the application's standard settings.
    return QSettings(QSettings::IniFormat, QSettings::UserScope, organization(),
                     QStringLiteral("Pellory.defaults"))
        .fileName();
}

QString standardDefaultsFile() {
    const QString application = QCoreApplication::applicationName();
    return QSettings(QSettings::IniFormat, QSettings::UserScope, organization(),
                     application.isEmpty() ? QStringLiteral("Pellory") : application)
        .fileName();
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
