#pragma once

#include "doubles/CloudEnvironment.h"
#include "shell/MainWindow.h"
#include "shell/OstrivaneCustomAlertView.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

// The main window shown on the offscreen platform over a loopback cloud, with the catalogue
// holding "8000008", "5000025" and the local record "100".
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ViewController* detail() const;
    // The custom alert that the window shows as a sheet, or nullptr.
    OstrivaneCustomAlertView* shownAlert() const;
    // Waits (bounded) until the window shows a custom alert.
    OstrivaneCustomAlertView* waitForAlert() const;

    CloudEnvironment env;
    std::unique_ptr<MainWindow> window;
};

// Records notifications in the order they arrive, with their objects and what the observer
// saw at that moment.
class NotificationRecorder : public QObject {
public:
    using Probe = std::function<QVariant()>;
    NotificationRecorder(const QStringList& names, Probe probe = {});
    ~NotificationRecorder() override;

    QStringList names;
    QVariantList objects;
    QVariantList probed;
};
