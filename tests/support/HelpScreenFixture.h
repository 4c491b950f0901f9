#pragma once

#include "doubles/CloudEnvironment.h"
#include "support/OstivaneHelpViewController.h"

#include <QHash>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

// A help screen shown on the offscreen platform, talking to a loopback cloud that answers the
// look-ups with a support address and a user-guide link, the audit history with one row and
// every e-mail with 200, until a test says otherwise.
class HelpScreenTest : public ::testing::Test {
protected:
    static inline const QString supportAddress = QStringLiteral("care@ostrivane.test");
    static inline const QString guideLink = QStringLiteral("https://guide.ostrivane.test/pellory");

    void SetUp() override;
    void TearDown() override;

    // What the cloud answers to the look-up of the row of that name.
    void answerConfig(const QString& name, const LoopbackCloud::Reply& reply) {
        configAnswers.insert(name, reply);
    }
    // Makes, shows and loads a screen; with waitForLookups, until the support address is in.
    void openScreen(bool waitForLookups = true);

    void choose(HelpMenuType type) const;
    // Types into a widget with key events, or pastes into the message, as a user does.
    static void type(QWidget* widget, const QString& text);
    void paste(const QString& text) const;
    QString messageText() const;
    void fillAddress() const;
    void pressSend() const;

    // Each alert now shown as its header and message on two lines.
    static QStringList shownAlerts();
    static QString waitForAlert();
    static void closeAlerts();
    static QString notification(const QString& text) {
        return QStringLiteral("Notification\n") + text;
    }

    QList<LoopbackCloud::Request> emailRequests() const;
    QStringList newDebugLogLines() const;

    CloudEnvironment env;
    LoopbackCloud& cloud = env.cloud;
    QHash<QString, LoopbackCloud::Reply> configAnswers;
    qsizetype debugLogMark = 0;
    std::unique_ptr<OstivaneHelpViewController> screen;
};
