// Layout and styling of the help screen.
#include "support/OstivaneHelpViewController.h"

#include "core/AppConstants.h"
#include "core/Extensions.h"
#include "platform/NamedColors.h"
#include "support/HelpTextRules.h"

#include <QAction>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
const QString kHeading = QStringLiteral("Need help?");
const QString kRequestCaption = QStringLiteral("What can we help you with?");
const QString kUserGuideTitle = QStringLiteral("User Guide");
const QString kPlaceholder = QStringLiteral("Type your message here.");
constexpr int kMessageFontSize = 17;
// The rounded button styles leave no room around the title of their own.
constexpr int kButtonHeight = 32;

// A captioned text field in a column of its own, so that a line can be drawn under it.
QLineEdit* addField(QGridLayout* grid, int row, int column, const QString& caption) {
    auto* cell = new QWidget;
    auto* layout = new QVBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* label = new QLabel(caption, cell);
    auto* field = new QLineEdit(cell);
    field->setFrame(false);
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field);
    grid->addWidget(cell, row, column);
    return field;
}
} // namespace

void OstivaneHelpViewController::setupUi() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(24, 24, 24, 24);
    root->setSpacing(16);

    auto* top = new QHBoxLayout;
    auto* heading = new QLabel(kHeading, this);
    QFont headingFont = heading->font();
    headingFont.setPointSize(headingFont.pointSize() + 6);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    btzubUserGuide_viewDropDown = new QPushButton(kUserGuideTitle, this);
    btzubUserGuide_viewDropDown->setMinimumSize(120, kButtonHeight);
    connect(btzubUserGuide_viewDropDown, &QPushButton::clicked, this,
            [this] { userGuideBtnClicked(btzubUserGuide_viewDropDown); });
    top->addWidget(heading);
    top->addStretch();
    top->addWidget(btzubUserGuide_viewDropDown);
    root->addLayout(top);

    root->addWidget(new QLabel(kRequestCaption, this));
    popupButton = new QPushButton(HelpMenu::title(HelpMenuType::SelectOption), this);
    popupButton->setMinimumSize(420, kButtonHeight);
    helpDropDown = new QMenu(popupButton);
    const std::pair<HelpMenuType, void (OstivaneHelpViewController::*)(QObject*)> items[] = {
        {HelpMenuType::SelectOption, &OstivaneHelpViewController::selectAnOptionClicked},
        {HelpMenuType::TroubleShooting, &OstivaneHelpViewController::TroubleShootingItemClicked},
        {HelpMenuType::RequestCopy, &OstivaneHelpViewController::RequestACopyItemClicked},
        {HelpMenuType::Other, &OstivaneHelpViewController::OtherItemClicked}};
    for (const auto& entry : items) {
        QAction* item = helpDropDown->addAction(HelpMenu::title(entry.first));
        const auto handler = entry.second;
        connect(item, &QAction::triggered, this, [this, item, handler] { (this->*handler)(item); });
    }
    popupButton->setMenu(helpDropDown);
    root->addWidget(popupButton, 0, Qt::AlignLeft);

    // The two forms share one place; one of them is visible at a time.
    auto* forms = new QGridLayout;

    viewEnterMessageTextView = new QWidget(this);
    auto* messageForm = new QVBoxLayout(viewEnterMessageTextView);
    messageForm->setContentsMargins(0, 0, 0, 0);
    messageScrollViewFromTroubleshoot = new QWidget(viewEnterMessageTextView);
    auto* scrollLayout = new QVBoxLayout(messageScrollViewFromTroubleshoot);
    scrollLayout->setContentsMargins(0, 0, 0, 0);
    troubleshootingTextView = new QPlainTextEdit(messageScrollViewFromTroubleshoot);
    // Tab moves on, as in every other field; a pasted tab character stays in the message.
    troubleshootingTextView->setTabChangesFocus(true);
    troubleshootingTextView->setAccessibleName(QStringLiteral("Help message"));
    scrollLayout->addWidget(troubleshootingTextView);
    messageScrollViewFromTroubleshoot->setFocusProxy(troubleshootingTextView);
    textFieldPlaceholder = new QLabel(kPlaceholder, troubleshootingTextView->viewport());
    textFieldPlaceholder->setAttribute(Qt::WA_TransparentForMouseEvents);
    textFieldPlaceholder->setStyleSheet(QStringLiteral("color: gray;"));
    textFieldTextCount = new QLabel(HelpTextRules::counterText(0), viewEnterMessageTextView);
    messageForm->addWidget(messageScrollViewFromTroubleshoot, 1);
    messageForm->addWidget(textFieldTextCount, 0, Qt::AlignRight);
    forms->addWidget(viewEnterMessageTextView, 0, 0);

    viewEnterAddress = new QWidget(this);
    auto* address = new QGridLayout(viewEnterAddress);
    address->setContentsMargins(0, 0, 0, 0);
    address->setHorizontalSpacing(24);
    address->setVerticalSpacing(12);
    textFieldFirstName = addField(address, 0, 0, QStringLiteral("First Name *"));
    textFieldLastName = addField(address, 0, 1, QStringLiteral("Last Name *"));
    // The street lines on the left, the place on the right.
    textFieldAddress = addField(address, 1, 0, QStringLiteral("Address *"));
    textFieldAddressDetail = addField(address, 2, 0, QStringLiteral("Address Detail"));
    textFieldSuite = addField(address, 3, 0, QStringLiteral("Suite"));
    textFieldCity = addField(address, 1, 1, QStringLiteral("City *"));
    textFieldState = addField(address, 2, 1, QStringLiteral("State *"));
    textFieldZip = addField(address, 3, 1, QStringLiteral("Zip Code *"));
    address->setRowStretch(4, 1);
    forms->addWidget(viewEnterAddress, 0, 0);
    viewEnterAddress->hide();
    root->addLayout(forms, 1);

    btSend_viewTroubleshooting = new QPushButton(AppConstants::Help::sendRequestTitle, this);
    btSend_viewTroubleshooting->setMinimumSize(160, kButtonHeight);
    connect(btSend_viewTroubleshooting, &QPushButton::clicked, this,
            [this] { SendButtonClicked(btSend_viewTroubleshooting); });
    root->addWidget(btSend_viewTroubleshooting, 0, Qt::AlignRight);
}

void OstivaneHelpViewController::updateUI() {
    const std::optional<QColor> border = NamedColors::color(NamedColors::lightgrey);
    troubleshootingTextView->setStyleSheet(
        QStringLiteral("QPlainTextEdit { border: %1; border-radius: 10px; color: black; "
                       "background: transparent; }")
            .arg(border ? QStringLiteral("1px solid %1").arg(border->name())
                        : QStringLiteral("none")));
    Extensions::setCornerRadius(troubleshootingTextView, 10);
    troubleshootingTextView->setFont(Extensions::textFont(kMessageFontSize));
    Extensions::setScrollBarStyle(troubleshootingTextView);
    // The hint reads like the text it stands for, on its first line, just clear of the caret.
    textFieldPlaceholder->setFont(troubleshootingTextView->font());
    textFieldPlaceholder->adjustSize();
    const int margin = static_cast<int>(troubleshootingTextView->document()->documentMargin());
    textFieldPlaceholder->move(margin + troubleshootingTextView->cursorWidth() + 2, margin);
    Extensions::setBackgroundColor(messageScrollViewFromTroubleshoot, QColor(Qt::transparent));
    Extensions::add(popupButton,
                    NamedColors::color(NamedColors::appColor).value_or(QColor(Qt::white)));
    textFieldTextCount->hide();
    // Nothing can be typed until a request kind is chosen.
    setMessageEditable(false);
}
