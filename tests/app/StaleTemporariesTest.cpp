// Start-up clears what writes killed half-way left behind, and nothing else.
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
    file.write("{\"half\":\"writ");
    file.flush();
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                 QFileDevice::FileModificationTime));
}

TEST(StaleTemporariesTest, StartUpRemovesOnlyOldTemporariesOfOurOwnFiles) {
    const QString folder = *Helper::getDirectoryUrl();
    const QString settings = *AppState::defaults().fileName();
    struct Case {
        QString path;
        int ageSeconds;
        bool removed;
    };
    const QList<Case> cases{
        {folder + u"/AppUserDefault.txt.a1B2c3"_s, 3600, true},
        {folder + u"/WPZ_0000_SN1_00_0000_0002026.12.07T09.00.00.csv.Zz9Yy8"_s, 120, true},
        {settings + u".q1W2e3"_s, 3600, true},
        // A write may still be under way in another instance.
        {folder + u"/AppUserDefault.txt.x9Y8z7"_s, 2, false},
        // Not a temporary, or not one of ours.
        {folder + u"/AppUserDefault.txt"_s, 3600, false},
        {folder + u"/AppUserDefault.txt.bak"_s, 3600, false},
        {folder + u"/AppUserDefault.txt.a1B2c!"_s, 3600, false},
        {folder + u"/notes.txt.a1B2c3"_s, 3600, false},
        {folder + u"/report.csv.a1B2c3"_s, 3600, false},
    };
    for (const Case& c : cases)
        writeAged(c.path, c.ageSeconds);

    AppDelegate::applicationDidFinishLaunching();

    for (const Case& c : cases) {
        EXPECT_EQ(QFileInfo::exists(c.path), !c.removed) << c.path.toStdString();
        QFile::remove(c.path);
    }
}

} // namespace
