#include "app/AppDelegate.h"
#include "app/SceneRegistration.h"
#include "shell/MainWindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ostrivane"));
    QApplication::setApplicationName(QStringLiteral("Pellory"));

    registerScenes();
    AppDelegate::applicationDidFinishLaunching();
    AppDelegate::startServices();
    AppDelegate::callApiGetEuaMessages();

    MainWindow window;
    window.show();
    AppDelegate::reportUnreadableInformationFile(window);
    return QApplication::exec();
}
