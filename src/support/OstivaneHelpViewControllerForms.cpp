// The help screen's forms: choosing a request kind, the message and zip fields, the checks
// before sending, and the user-guide button.
#include "support/OstivaneHelpViewController.h"

#include "cloud/GlobalUserManager.h"
#include "core/AppConstants.h"
#include "core/Console.h"
#include "core/Helper.h"
#include "core/Logger.h"
#include "models/EuaMessage.h"
#include "platform/BundleInfo.h"
#include "platform/MainQueue.h"
#include "shell/OstrivaneAlerts.h"
#include "support/HelpAddress.h"
#include "support/HelpEmail.h"
#include "support/HelpTextRules.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace {
// The message as the user sees it. The document keeps paragraph and line breaks as separator
// characters; they go out as line feeds. Everything else, non-breaking spaces included, stays
// as typed.
QString messageText(const QPlainTextEdit* view) {
    QString text = view->document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

// The system-information block for the signed-in user and the running version.
QString systemInfo() {
    return Helper::getSystemInfo(
        GlobalUserManager::shared().currentUserFirmwareInfo,
        BundleInfo::find(AppConstants::Configurations::bundleShortVersionString));
}

bool isWebAddress(const QString& link) {
    const QUrl url(link, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == u"https" || url.scheme() == u"http") &&
           !url.host().isEmpty();
}
} // namespace

void OstivaneHelpViewController::TroubleShootingItemClicked(QObject* sender) {
    Console::print(QStringLiteral("troubleshooting clicked"));
    showMessageForm(sender);
}

void OstivaneHelpViewController::OtherItemClicked(QObject* sender) {
    Console::print(QStringLiteral("other clicked"));
    showMessageForm(sender);
}

void OstivaneHelpViewController::showMessageForm(QObject* sender) {
    btSend_viewTroubleshooting->setText(AppConstants::Help::sendRequestTitle);
    {
        const QSignalBlocker quiet(troubleshootingTextView);
        troubleshootingTextView->clear();
    }
    setMessageEditable(true);
    messageScrollViewFromTroubleshoot->setFocus();
    textFieldTextCount->show();
    textFieldTextCount->setText(HelpTextRules::counterText(0));
    addViewAsPerSelection(false);
    if (auto* item = qobject_cast<QAction*>(sender)) {
        updateMenuTitle(item->text());
        ResetUserGuidRequestFields();
    }
}

void OstivaneHelpViewController::RequestACopyItemClicked(QObject* sender) {
    Console::print(QStringLiteral("request a copy clicked"));
    btSend_viewTroubleshooting->setText(AppConstants::Help::sendRequestTitle);
    textFieldPlaceholder->hide();
    // The name stays: the same person may ask again with another address.
    for (QLineEdit* field : {textFieldAddress, textFieldAddressDetail, textFieldSuite,
                             textFieldCity, textFieldState, textFieldZip})
        field->clear();
    addViewAsPerSelection(true);
    if (auto* item = qobject_cast<QAction*>(sender))
        updateMenuTitle(item->text());
}

void OstivaneHelpViewController::selectAnOptionClicked(QObject* sender) {
    Console::print(
        QStringLiteral("select an option clicked: ") +
        (sender ? QString::fromLatin1(sender->metaObject()->className()) : QStringLiteral("none")));
}

void OstivaneHelpViewController::updatePlaceholderVisibility() {
    // The hint invites typing: it shows only where typing is possible.
    textFieldPlaceholder->setVisible(!troubleshootingTextView->isReadOnly() &&
                                     troubleshootingTextView->document()->isEmpty());
}

void OstivaneHelpViewController::setMessageEditable(bool editable) {
    troubleshootingTextView->setReadOnly(!editable);
    // A field that takes no typing takes no focus either.
    troubleshootingTextView->setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
    updatePlaceholderVisibility();
    if (!editable && troubleshootingTextView == window()->focusWidget())
        focusNextPrevChild(true);
}

void OstivaneHelpViewController::textDidBeginEditing() {
    updatePlaceholderVisibility();
}

void OstivaneHelpViewController::textDidChange() {
    updatePlaceholderVisibility();
    const QString text = messageText(troubleshootingTextView);
    const QString kept = HelpTextRules::limitedToCharacters(text);
    if (kept.size() < text.size()) {
        // Cut the tail in place, so the cursor and the undo history stay where the user left
        // them as far as the kept text goes. The cut joins the edit that caused it: one undo
        // takes both back, rather than bringing the long text back only to cut it again.
        const QSignalBlocker quiet(troubleshootingTextView);
        QTextCursor cut(troubleshootingTextView->document());
        cut.joinPreviousEditBlock();
        cut.setPosition(static_cast<int>(kept.size()));
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        cut.endEditBlock();
    }
    textFieldTextCount->setText(HelpTextRules::counterText(HelpTextRules::characterCount(kept)));
}

void OstivaneHelpViewController::controlTextDidChange(QObject* sender) {
    auto* field = qobject_cast<QLineEdit*>(sender);
    if (!field)
        return;
    const QString text = field->text();
    const QString digits = HelpTextRules::digitsOnly(text);
    if (digits == text)
        return;
    // Keep the cursor after the same digits it followed.
    const int cursor =
        static_cast<int>(HelpTextRules::digitsOnly(text.left(field->cursorPosition())).size());
    field->setText(digits);
    field->setCursorPosition(cursor);
}

void OstivaneHelpViewController::SendButtonClicked(QPushButton* sender) {
    sender->setEnabled(false);
    switch (HelpMenu::typeForTitle(popupButton->text()).value_or(HelpMenuType::TroubleShooting)) {
    case HelpMenuType::TroubleShooting:
        sendTroubleShootingMessage();
        break;
    case HelpMenuType::RequestCopy:
        sendRequestACopyDetails();
        break;
    case HelpMenuType::Other:
        sentOtherMessage();
        break;
    case HelpMenuType::SelectOption:
        showNotification(AppConstants::Alerts::descriptions::selectAnOption);
        sender->setEnabled(true);
        break;
    }
}

void OstivaneHelpViewController::sendTroubleShootingMessage() {
    sendMessage(HelpMenuType::TroubleShooting);
}

void OstivaneHelpViewController::sentOtherMessage() {
    sendMessage(HelpMenuType::Other);
}

void OstivaneHelpViewController::sendMessage(HelpMenuType kind) {
    if (!isInternetConnected()) {
        showNoInternetAlert(this);
        btSend_viewTroubleshooting->setEnabled(true);
        return;
    }
    const QString text = messageText(troubleshootingTextView);
    if (HelpTextRules::isBlankMessage(text)) {
        refuseSend(AppConstants::Alerts::descriptions::messageCanNotBeBlank);
        return;
    }
    const GlobalUserManager& user = GlobalUserManager::shared();
    const HelpEmail email =
        HelpEmail::message(kind, text, Helper::getGmtDateTimeString(), systemInfo(),
                           Helper::getBase64AuditLog(user.auditHistory));
    sendEmail(email.subject, email.body, email.attachment, email.fileName);
}

void OstivaneHelpViewController::sendRequestACopyDetails() {
    if (!isInternetConnected()) {
        showNoInternetAlert(this);
        btSend_viewTroubleshooting->setEnabled(true);
        return;
    }
    HelpAddress shipTo;
    shipTo.firstName = textFieldFirstName->text();
    shipTo.lastName = textFieldLastName->text();
    shipTo.address = textFieldAddress->text();
    shipTo.addressDetail = textFieldAddressDetail->text();
    shipTo.suite = textFieldSuite->text();
    shipTo.city = textFieldCity->text();
    shipTo.state = textFieldState->text();
    shipTo.zip = textFieldZip->text();
    if (!shipTo.hasMandatoryFields()) {
        refuseSend(AppConstants::Alerts::descriptions::fillMandatoryFields);
        return;
    }
    const HelpEmail email =
        HelpEmail::paperCopy(shipTo, Helper::getGmtDateTimeString(), systemInfo());
    sendEmail(email.subject, email.body, email.attachment, email.fileName);
}

void OstivaneHelpViewController::refuseSend(const QString& message) {
    MainQueue::async(this, [this, message] {
        showNotification(message);
        btSend_viewTroubleshooting->setEnabled(true);
    });
}

void OstivaneHelpViewController::userGuideBtnClicked(QObject* /*sender*/) {
    if (!isInternetConnected()) {
        showNoInternetAlert(this);
        return;
    }
    const std::optional<StructEuaMessage> entry =
        euaMessage(AppConstants::Codes::userGuideRequested);
    if (!entry)
        return;
    Logger::log(entry->messageDescription);
    if (userGuideLink && isWebAddress(*userGuideLink))
        QDesktopServices::openUrl(QUrl(*userGuideLink, QUrl::StrictMode));
}
