// Start-up removes no file of the application folder or beside the settings: a name alone does
// not tell a leftover of our own writes from a copy the user keeps, and on Linux our writes
// leave no named temporary behind.
#include "app/AppDelegate.h"
#include "core/AppState.h"
#include "core/Helper.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Writes a file last changed the given number of seconds ago.
void writeAged(const QString& path, int ageSeconds) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"kept\":\"copy\"}");
    file.flush();
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                 QFileDevice::FileModificationTime));
}

TEST(StartupKeepsFilesTest, CopiesTemporariesAndOlderLogFilesStay) {
    const QString folder = *Helper::getDirectoryUrl();
    const QString settings = *AppState::defaults().fileName();
    const QString csv = folder + u"/WPZ_0000_SN1_00_0000_0002026.12.07T09.00.00.csv"_s;
    QStringList paths{csv, csv + u".Zz9Yy8"_s, settings + u".backup"_s, settings + u".q1W2e3"_s};
    for (const QString& suffix : {u".backup"_s, u".bak001"_s, u".unreadable"_s, u".a1B2c3"_s})
        paths.append(folder + u"/AppUserDefault.txt"_s + suffix);
    for (const QString& path : paths)
        writeAged(path, 3600);
    writeAged(folder + u"/AppUserDefault.txt.x9Y8z7"_s, 2);

    AppDelegate::applicationDidFinishLaunching();

    for (const QString& path : paths + QStringList{folder + u"/AppUserDefault.txt.x9Y8z7"_s}) {
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        QFile::remove(path);
    }
}

} // namespace
