#pragma once

#include "platform/ViewController.h"
#include "support/HelpMenuType.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>

class APIResult;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

// The help screen: the detail pane of the sidebar's "Help" row. It opens the user guide and
// sends the user's troubleshooting message, paper-copy request or other message to customer
// support as an e-mail that the cloud sends.
//
// The implementation is spread by concern: this file's .cpp (loading, helpers, the cradle
// notification), ...UI.cpp (layout and styling), ...Forms.cpp (request kinds, message and zip
// fields, checks before sending, user guide) and ...Requests.cpp (cloud requests, confirmation,
// reset).
class OstivaneHelpViewController : public ViewController {
    Q_OBJECT
public:
    // The file that the debug log names for every line this screen writes.
    static const char* const sourceFile;
    using selectedMenuType = HelpMenuType;

    explicit OstivaneHelpViewController(QWidget* parent = nullptr);
    ~OstivaneHelpViewController() override;

    // Filled by the look-ups started when the screen loads.
    std::optional<QString> userGuideLink;
    std::optional<QString> supportEmail;

    // Outlets; all are children of the screen.
    QPushButton* btSend_viewTroubleshooting = nullptr;
    QPushButton* btzubUserGuide_viewDropDown = nullptr;
    QPushButton* popupButton = nullptr;
    QMenu* helpDropDown = nullptr;
    QWidget* viewEnterMessageTextView = nullptr;
    QWidget* messageScrollViewFromTroubleshoot = nullptr;
    QPlainTextEdit* troubleshootingTextView = nullptr;
    QLabel* textFieldPlaceholder = nullptr;
    QLabel* textFieldTextCount = nullptr;
    QWidget* viewEnterAddress = nullptr;
    QLineEdit* textFieldFirstName = nullptr;
    QLineEdit* textFieldLastName = nullptr;
    QLineEdit* textFieldAddress = nullptr;
    QLineEdit* textFieldAddressDetail = nullptr;
    QLineEdit* textFieldSuite = nullptr;
    QLineEdit* textFieldCity = nullptr;
    QLineEdit* textFieldState = nullptr;
    QLineEdit* textFieldZip = nullptr;

    // Menu item handlers; the sender is the menu item when the user picked one.
    void TroubleShootingItemClicked(QObject* sender);
    void RequestACopyItemClicked(QObject* sender);
    void OtherItemClicked(QObject* sender);
    void selectAnOptionClicked(QObject* sender);

    void SendButtonClicked(QPushButton* sender);
    void userGuideBtnClicked(QObject* sender);

    // The message text view's and the zip field's reports.
    void textDidBeginEditing();
    void textDidChange();
    void controlTextDidChange(QObject* sender);

    void serialPortConnectedDisconnected(const QVariant& object);

    void checkForAuditHistory();
    void updateUI();
    void addViewAsPerSelection(bool isAddressView);
    void addBottomLine(QLineEdit* reference);
    void updateMenuTitle(const std::optional<QString>& title);
    void ResetUserGuidRequestFields();
    void sendTroubleShootingMessage();
    void sendRequestACopyDetails();
    void sentOtherMessage();

    // Cloud requests and what follows them.
    void callApiGetUserGuideLink();
    void callApiGetNeedHelpEmailAddress();
    void sendEmail(const QString& subject, const QString& body,
                   const std::optional<QString>& attachment,
                   const std::optional<QString>& fileName);
    void CallApiGetauditHistory();
    void showAlerts();
    void resetHelpView();

    bool isInternetConnected() const;

protected:
    void viewDidLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupUi();
    void updatePlaceholderVisibility();
    // The message field open to typing (and to the focus), or read-only and passed over.
    void setMessageEditable(bool editable);
    // Shows a message form for a message kind: shared by the troubleshooting and other items.
    void showMessageForm(QObject* sender);
    void sendMessage(HelpMenuType kind);
    // A refused check: the alert and the send button usable again, after the current event.
    void refuseSend(const QString& message);
    void showNotification(const QString& message);
    // A look-up or the audit-history request: the answer's body goes to onAnswer while the
    // screen lives; a failure is reported as those requests report it.
    void requestList(const QString& urlString, const QVariantMap& parameters,
                     const QString& logPrefix, std::function<void(const QByteArray&)> onAnswer);
    void reportRequestFailure(const APIResult& result, const QString& logPrefix);
};
