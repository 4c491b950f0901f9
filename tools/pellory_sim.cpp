// pellory-sim: the maker's cloud on 127.0.0.1 and the transmitter on a pseudo-terminal, for
// running Pellory on a computer without either. What they answer is read from a script
// (tools/sim-script.json) and from the extensions in this folder.
#include "SimExtensions.h"

#include "doubles/LoopbackCloud.h"
#include "doubles/PtyTransmitter.h"
#include "doubles/SimInfoFile.h"
#include "doubles/SimScript.h"
#include "platform/QuitOnSignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

void print(const QString& line) {
    QTextStream out(stdout);
    out << line << Qt::endl;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pellory-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays the maker's cloud on 127.0.0.1 and the transmitter on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption scriptOption(
        QStringLiteral("script"), QStringLiteral("The script of answers."), QStringLiteral("file"),
        QStringLiteral("tools/sim-script.json"));
    const QCommandLineOption infoOption(
        QStringLiteral("info"),
        QStringLiteral("Write the application's information file for this run here."),
        QStringLiteral("file"));
    const QCommandLineOption templateOption(
        QStringLiteral("template"), QStringLiteral("The application's shipped information file."),
        QStringLiteral("file"), QStringLiteral("src/app/Info.json"));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Listen on this port (default: any free)."),
                                        QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption ptyOption(
        QStringLiteral("pty-link"),
        QStringLiteral("Where the transmitter's device appears (default: a temporary path)."),
        QStringLiteral("path"));
    const QCommandLineOption outOption(
        QStringLiteral("out"),
        QStringLiteral("Folder for what the simulator receives (default: a temporary folder)."),
        QStringLiteral("folder"));
    const QCommandLineOption configHomeOption(
        QStringLiteral("config-home"),
        QStringLiteral("The application's settings folder for this run (its XDG_CONFIG_HOME), "
                       "where the sample quiz is stored (default: no quiz is stored)."),
        QStringLiteral("folder"));
    parser.addOptions({scriptOption, infoOption, templateOption, portOption, ptyOption, outOption,
                       configHomeOption});
    parser.process(app);

    QString error;
    const std::optional<QJsonObject> script = SimScript::read(parser.value(scriptOption), &error);
    if (!script) {
        print(QStringLiteral("pellory-sim: ") + error);
        return 2;
    }

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    LoopbackCloud cloud(quint16(portOk && port <= 65535 ? port : 0));
    if (!cloud.isListening()) {
        print(QStringLiteral("pellory-sim: could not listen on 127.0.0.1"));
        return 1;
    }
    PtyTransmitter transmitter(parser.value(ptyOption));
    if (!transmitter.open()) {
        print(QStringLiteral("pellory-sim: could not open a pseudo-terminal"));
        return 1;
    }
    if (auto scriptError = SimScript::apply(*script, cloud, transmitter)) {
        print(QStringLiteral("pellory-sim: ") + parser.value(scriptOption) + QStringLiteral(": ") +
              *scriptError);
        return 2;
    }

    QTemporaryDir ownedOut;
    const QString outPath = parser.isSet(outOption) ? parser.value(outOption) : ownedOut.path();
    if (outPath.isEmpty() || !QDir().mkpath(outPath)) {
        print(QStringLiteral("pellory-sim: no folder for received files"));
        return 1;
    }
    SimContext context{cloud, transmitter, QDir(outPath), *script, parser.value(configHomeOption)};
    const QStringList extensions = runSimExtensions(context);

    QObject::connect(&cloud, &LoopbackCloud::requestReceived, &app,
                     [](const LoopbackCloud::Request& request) {
                         print(QStringLiteral("cloud: %1 %2").arg(request.method, request.path));
                     });
    QObject::connect(&transmitter, &PtyTransmitter::commandAnswered, &app,
                     [](int index, const QByteArray& command) {
                         print(QStringLiteral("transmitter: command %1: %2")
                                   .arg(index)
                                   .arg(QString::fromLatin1(command.toHex(' '))));
                     });

    print(QStringLiteral("base URL: ") + cloud.baseUrl());
    print(QStringLiteral("transmitter: ") + transmitter.devicePath());
    print(QStringLiteral("received files: ") + outPath);
    if (!extensions.isEmpty())
        print(QStringLiteral("extensions: ") + extensions.join(QStringLiteral(", ")));
    // Written last: its appearance tells a waiting script that everything is ready.
    if (parser.isSet(infoOption)) {
        if (auto infoError =
                SimInfoFile::write(parser.value(templateOption), parser.value(infoOption),
                                   cloud.baseUrl(), transmitter.devicePath())) {
            print(QStringLiteral("pellory-sim: ") + *infoError);
            return 1;
        }
        print(QStringLiteral("information file: ") + parser.value(infoOption));
    }

    // The pseudo-terminal and its link are cleaned up on SIGINT and SIGTERM too.
    QuitOnSignals::install();
    return QCoreApplication::exec();
}
