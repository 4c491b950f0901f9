#pragma once

#include "doubles/LoopbackCloud.h"
#include "support/OstivaneHelpViewController.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class QAction;

// A help screen shown on the offscreen platform, talking to a loopback cloud. The cloud
// answers the look-ups with a support address and a user-guide link, the audit history with
// one row, and every e-mail with 200 and an empty object, until a test says otherwise.
class HelpScreenTest : public ::testing::Test {
protected:
    static inline const QString supportAddress = QStringLiteral("care@ostrivane.test");
    static inline const QString guideLink = QStringLiteral("https://guide.ostrivane.test/pellory");

    void SetUp() override;
    void TearDown() override;

    // Answers for the configuration row of that name.
    void answerConfig(const QString& name, const LoopbackCloud::Reply& reply);
    // A one-row answer with the given value.
    static LoopbackCloud::Reply configRow(const QString& name, const QString& value);

    // Makes, shows and loads a screen; with waitForLookups, waits until the cloud has had
    // every request the screen sends when it loads.
    OstivaneHelpViewController* openScreen(bool waitForLookups = true);

    QAction* menuItem(HelpMenuType type) const;
    void choose(HelpMenuType type) const;
    // Types text into a widget with real key events.
    static void type(QWidget* widget, const QString& text);
    // Puts text into the message as a paste would.
    void paste(const QString& text) const;
    QString messageText() const;
    void fillAddress() const;
    void pressSend() const;

    // The alerts now shown, each as its header, its secondary header when shown, and its
    // message, joined by line feeds.
    static QStringList shownAlerts();
    // Waits for the first alert and gives its text; empty when none came in time.
    static QString waitForAlert(int timeoutMs = 3000);
    static void closeAlerts();

    QList<LoopbackCloud::Request> emailRequests() const;
    // The lines of today's debug log written since the test began.
    QStringList newDebugLogLines() const;

    LoopbackCloud cloud;
    QHash<QString, LoopbackCloud::Reply> configAnswers;
    QTemporaryDir infoDir;
    qsizetype debugLogMark = 0;
    std::unique_ptr<OstivaneHelpViewController> screen;
};
