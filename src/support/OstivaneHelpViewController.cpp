#include "support/OstivaneHelpViewController.h"

#include "cloud/GlobalUserManager.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/Console.h"
#include "core/Extensions.h"
#include "core/Logger.h"
#include "models/EuaMessage.h"
#include "platform/MainQueue.h"
#include "platform/NamedColors.h"
#include "platform/NotificationCenter.h"
#include "shell/OstrivaneAlerts.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

const char* const OstivaneHelpViewController::sourceFile = __FILE__;

OstivaneHelpViewController::OstivaneHelpViewController(QWidget* parent) : ViewController(parent) {
    setAccessibleName(tr("Help screen"));
    setupUi();
}

OstivaneHelpViewController::~OstivaneHelpViewController() = default;

void OstivaneHelpViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    Console::print(QStringLiteral("help loaded"));
    NotificationCenter::defaultCenter().addObserver(
        this, AppConstants::Notifications::serialPortConnectedDisconnected,
        [this](const QVariant& object) { serialPortConnectedDisconnected(object); });

    // The rest of the set-up runs only when the catalogue knows the screen.
    const std::optional<StructEuaMessage> entry = euaMessage(AppConstants::Codes::helpScreenLoaded);
    if (!entry)
        return;
    Logger::log(entry->messageDescription);

    Extensions::setButton(btSend_viewTroubleshooting,
                          NamedColors::color(NamedColors::blue).value_or(Extensions::systemBlue()));
    Extensions::set(btSend_viewTroubleshooting, QColor(Qt::white));
    Extensions::setButton(btzubUserGuide_viewDropDown,
                          NamedColors::color(NamedColors::appColor).value_or(QColor(Qt::white)),
                          true);

    // The screen follows the message text view from now on.
    connect(troubleshootingTextView, &QPlainTextEdit::textChanged, this,
            &OstivaneHelpViewController::textDidChange);
    troubleshootingTextView->installEventFilter(this);

    callApiGetUserGuideLink();
    callApiGetNeedHelpEmailAddress();
    addViewAsPerSelection(false);
    for (QLineEdit* field :
         {textFieldAddress, textFieldAddressDetail, textFieldSuite, textFieldCity, textFieldState,
          textFieldZip, textFieldFirstName, textFieldLastName})
        addBottomLine(field);
    Console::print(popupButton->text());
    updateUI();

    // Of the address fields only the zip field reports its changes: it takes digits only.
    // Only the user's own edits count, as the screen's own changes need no filtering.
    connect(textFieldZip, &QLineEdit::textEdited, this,
            [this] { controlTextDidChange(textFieldZip); });

    checkForAuditHistory();
}

bool OstivaneHelpViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == troubleshootingTextView && event->type() == QEvent::FocusIn)
        textDidBeginEditing();
    return ViewController::eventFilter(watched, event);
}

void OstivaneHelpViewController::checkForAuditHistory() {
    const auto& history = GlobalUserManager::shared().auditHistory;
    if (!history || history->isEmpty())
        CallApiGetauditHistory();
}

void OstivaneHelpViewController::serialPortConnectedDisconnected(const QVariant& object) {
    if (object.typeId() != QMetaType::Bool)
        return;
    // Nothing on this screen depends on the cradle; the line is written a second later,
    // without holding up the window meanwhile.
    const bool connected = object.toBool();
    MainQueue::asyncAfter(1.0, this, [connected] {
        Console::print(connected ? QStringLiteral("true") : QStringLiteral("false"));
    });
}

bool OstivaneHelpViewController::isInternetConnected() const {
    return NetworkManager::shared().isConnected();
}

void OstivaneHelpViewController::addViewAsPerSelection(bool isAddressView) {
    viewEnterAddress->setVisible(isAddressView);
    viewEnterMessageTextView->setVisible(!isAddressView);
}

void OstivaneHelpViewController::updateMenuTitle(const std::optional<QString>& title) {
    popupButton->setText(title.value_or(QString()));
}

void OstivaneHelpViewController::addBottomLine(QLineEdit* reference) {
    // Each field sits in a column of its own; the line goes under it, as wide as the field.
    auto* column =
        reference ? qobject_cast<QBoxLayout*>(reference->parentWidget()->layout()) : nullptr;
    if (!column)
        return;
    auto* line = new QFrame(reference->parentWidget());
    line->setFixedHeight(1);
    Extensions::setBackgroundColor(line, QColor(Qt::lightGray));
    column->insertWidget(column->indexOf(reference) + 1, line);
}

void OstivaneHelpViewController::ResetUserGuidRequestFields() {
    for (QLineEdit* field :
         {textFieldFirstName, textFieldLastName, textFieldAddress, textFieldAddressDetail,
          textFieldSuite, textFieldCity, textFieldState, textFieldZip})
        field->clear();
}

void OstivaneHelpViewController::showNotification(const QString& message) {
    addAlertView(this, AppConstants::Alerts::titles::notification, std::nullopt, message, true);
}
