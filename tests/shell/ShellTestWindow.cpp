#include "ShellTestWindow.h"

#include "app/AppDelegate.h"
#include "app/SceneRegistration.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"
#include "platform/NotificationCenter.h"
#include "shell/OstrivaneSplitViewController.h"

#include <QDialog>

void ShellTest::SetUp() {
    registerScenes();
    AppDelegate::applicationDidFinishLaunching();
    AppState::EuaMessage = {CloudEnvironment::entry(QStringLiteral("8000008")),
                            CloudEnvironment::entry(QStringLiteral("5000025")),
                            CloudEnvironment::entry(AppConstants::Codes::missingMessage)};
    window = std::make_unique<MainWindow>();
    window->show();
    ASSERT_TRUE(waitFor([&] { return window->isVisible() && detail(); }));
}

void ShellTest::TearDown() {
    window.reset();
    spinFor(20); // let deferred deletions run
}

ViewController* ShellTest::detail() const {
    return window->splitViewController()->detailViewController();
}

OstrivaneCustomAlertView* ShellTest::shownAlert() const {
    for (QDialog* dialog : window->findChildren<QDialog*>()) {
        if (dialog->isVisible())
            if (auto* alert = dialog->findChild<OstrivaneCustomAlertView*>())
                return alert;
    }
    return nullptr;
}

OstrivaneCustomAlertView* ShellTest::waitForAlert() const {
    waitFor([&] { return shownAlert() != nullptr; }, 3000);
    return shownAlert();
}

NotificationRecorder::NotificationRecorder(const QStringList& watched, Probe probe) {
    for (const QString& name : watched) {
        NotificationCenter::defaultCenter().addObserver(
            this, name, [this, name, probe](const QVariant& object) {
                names.append(name);
                objects.append(object);
                probed.append(probe ? probe() : QVariant());
            });
    }
}

NotificationRecorder::~NotificationRecorder() {
    NotificationCenter::defaultCenter().removeObserver(this);
}
