#pragma once

#include "platform/ViewController.h"

#include <QString>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

// The one-button alert that screens lay over their window as a sheet: a header, an optional
// secondary header, the message and the close button " Close ". Closing, with the button or
// with Escape, dismisses the sheet and then runs the close action, when one is set.
class OstrivaneCustomAlertView : public ViewController {
    Q_OBJECT
public:
    explicit OstrivaneCustomAlertView(QWidget* parent = nullptr);

    void configure(const QString& headerPrimaryText,
                   const std::optional<QString>& headerSecondaryText, const QString& message,
                   bool isHeaderSecondaryHidden);
    void setCloseAction(std::function<void()> action) { closeAction_ = std::move(action); }

    QLabel* labelHeaderPrimary() const { return labelHeaderPrimary_; }
    QLabel* labelHeaderSecondary() const { return labelHeaderSecondary_; }
    QLabel* labelMessage() const { return labelMessage_; }
    QPushButton* buttonClose() const { return buttonClose_; }

    // The sign-out reset of the module-wide state.
    static void resetGlobalVariables();

protected:
    void cancelOperation() override;

private:
    void buttonCloseClicked();

    QLabel* labelHeaderPrimary_;
    QLabel* labelHeaderSecondary_;
    QLabel* labelMessage_;
    QPushButton* buttonClose_;
    std::function<void()> closeAction_;
};
