// The application as a user installs it: scripts/install into a temporary prefix, then the
// installed program started on its own, with nothing in its environment to point it anywhere.
#include "app/SceneRegistration.h"
#include "core/AppConstants.h"
#include "doubles/LoopbackCloud.h"
#include "doubles/PtyTransmitter.h"
#include "doubles/WaitFor.h"
#include "shell/MainWindow.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void overwrite(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The files under a folder, with their paths from it.
std::string filesUnder(const QString& root) {
    QStringList files;
    for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files.append(QDir(root).relativeFilePath(it.next()));
    files.sort();
    return files.join(u' ').toStdString();
}

// Runs a program to its end; its exit code and what it printed.
std::pair<int, std::string> runToEnd(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ended =
        process.waitForFinished(540000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAll().toStdString()};
}

class InstalledAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(prefixDir.isValid());
        install(prefixDir.path());
    }
    // With the release build where a user's install makes it, so only the first run builds. An
    // empty DESTDIR stages nothing: the files go to the prefix itself.
    static void install(const QString& prefix, const QString& destDir = {}) {
        const auto [code, output] =
            runToEnd(u"env"_s, {u"DESTDIR="_s + destDir,
                                QStringLiteral(PELLORY_SOURCE_DIR "/scripts/install"), prefix});
        ASSERT_EQ(code, 0) << output;
    }
    QString installed(const QString& relative) const { return prefixDir.filePath(relative); }

    QTemporaryDir prefixDir;
};

} // namespace

TEST_F(InstalledAppTest, InstallsTheProgramItsInformationFileAndAValidMenuEntryOnly) {
    EXPECT_EQ(filesUnder(prefixDir.path()),
              "bin/Info.json bin/pellory share/applications/pellory.desktop");
    EXPECT_EQ(readAll(installed(u"bin/Info.json"_s)),
              readAll(QStringLiteral(PELLORY_SOURCE_DIR "/src/app/Info.json")));
    // An optimised build, without the debug information of the tests' build.
    const auto [code, sections] =
        runToEnd(u"readelf"_s, {u"--section-headers"_s, installed(u"bin/pellory"_s)});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(sections.find(".debug_info"), std::string::npos) << sections;

    const QString entry = installed(u"share/applications/pellory.desktop"_s);
    EXPECT_EQ(runToEnd(u"desktop-file-validate"_s, {entry}), std::make_pair(0, std::string()));
    QSettings desktop(entry, QSettings::IniFormat);
    registerScenes();
    EXPECT_EQ(desktop.value(u"Desktop Entry/Name"_s).toString().toStdString(),
              MainWindow().windowTitle().toStdString());
    // The whole path, so the menu starts it wherever the prefix is and whatever PATH holds.
    EXPECT_EQ(desktop.value(u"Desktop Entry/Exec"_s).toString(), installed(u"bin/pellory"_s));

    // The technician's addresses survive installing again.
    const QByteArray edited = R"({"HOSTAPIURL": "https:#()cloud.example"})";
    overwrite(installed(u"bin/Info.json"_s), edited);
    install(prefixDir.path());
    EXPECT_EQ(readAll(installed(u"bin/Info.json"_s)), edited);

    // Staged for a package: everything under DESTDIR, and nothing else.
    const QString staged = installed(u"staged"_s);
    install(u"/opt/pellory"_s, staged);
    EXPECT_EQ(filesUnder(staged), "opt/pellory/bin/Info.json opt/pellory/bin/pellory "
                                  "opt/pellory/share/applications/pellory.desktop");
}

TEST_F(InstalledAppTest, ReadsItsOwnInformationFileAndSaysOnceThatTheCradleCannotBeOpened) {
    LoopbackCloud cloud;
    // A cradle that the program finds but has no right to open: as root it runs as nobody.
    QTemporaryDir devices, home;
    PtyTransmitter cradle(devices.filePath(u"ttyACM0"_s));
    ASSERT_TRUE(cradle.open());
    ASSERT_EQ(::chmod(QFile::encodeName(cradle.ptyName()).constData(), 0), 0);
    for (const QString& folder : {devices.path(), prefixDir.path()})
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);

    QJsonObject info = QJsonDocument::fromJson(readAll(installed(u"bin/Info.json"_s))).object();
    info.insert(u"HOSTAPIURL"_s, cloud.url({}).replace(u"//"_s, u"#()"_s));
    info.insert(u"SERIALDEVICEPATH"_s, cradle.devicePath());
    overwrite(installed(u"bin/Info.json"_s), QJsonDocument(info).toJson());

    QProcessEnvironment environment; // no PELLORY_INFO_FILE
    environment.insert(u"HOME"_s, home.path());
    environment.insert(u"XDG_RUNTIME_DIR"_s, home.filePath(u"runtime"_s));
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    QProcess app;
    app.setProcessEnvironment(environment);
    app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(home.path()).constData(), 65534, 65534), 0);
        app.start(u"setpriv"_s, {u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s,
                                 installed(u"bin/pellory"_s)});
    } else {
        app.start(installed(u"bin/pellory"_s));
    }

    // The first request goes to the address written into the installed file.
    EXPECT_TRUE(cloud.waitForRequests(1, 15000));
    ASSERT_FALSE(cloud.requests().isEmpty());
    EXPECT_EQ(cloud.requests().first().path, AppConstants::API::Host::path::getEuaMessages);

    // The cradle is looked for every second; a few looks later it has been reported once.
    QByteArray console;
    const auto reports = [&] {
        return (console += app.readAllStandardOutput()).count("cannot be");
    };
    EXPECT_TRUE(waitFor([&] { return reports() >= 1; }, 10000));
    spinFor(3500);
    EXPECT_EQ(reports(), 1) << console.toStdString();
    EXPECT_TRUE(console.contains((cradle.devicePath() + u": "_s).toUtf8() + std::strerror(EACCES)))
        << console.toStdString();
    EXPECT_EQ(app.state(), QProcess::Running) << "the program ended early";
    app.kill();
    app.waitForFinished();
}
