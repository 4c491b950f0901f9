#pragma once

#include "platform/ViewController.h"
#include "shell/ChildViewController.h"

class QLabel;

// The screen a passed quiz leads to. Upgrading a transmitter's firmware is not part of this
// application, and the screen says so. Whoever embeds it sets its delegate; the screen itself
// never asks to be taken away.
class OstrivaneCheckForUpgradesViewController : public ViewController, public ChildViewController {
    Q_OBJECT
public:
    explicit OstrivaneCheckForUpgradesViewController(QWidget* parent = nullptr);

    QLabel* labelHeading() const { return labelHeading_; }
    QLabel* labelMessage() const { return labelMessage_; }

private:
    QLabel* labelHeading_;
    QLabel* labelMessage_;
};
