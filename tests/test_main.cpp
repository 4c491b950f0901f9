// Shared entry point of every test executable: a QApplication on the offscreen platform, with
// every file location the product may touch redirected into a temporary folder.
#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    const QByteArray root = home.path().toUtf8();
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
    setenv("XDG_STATE_HOME", (root + "/state").constData(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QStandardPaths::setTestModeEnabled(true);

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ostrivane"));
    QApplication::setApplicationName(QStringLiteral("PelloryTests"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
