#include "shell/OstrivaneCustomAlertView.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Extensions.h"
#include "platform/NamedColors.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* wrappedLabel(QWidget* parent, int pointSizeDelta, bool bold) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + pointSizeDelta);
    font.setBold(bold);
    label->setFont(font);
    return label;
}
} // namespace

OstrivaneCustomAlertView::OstrivaneCustomAlertView(QWidget* parent) : ViewController(parent) {
    setObjectName(AppConstants::Scenes::customAlertView);
    setMinimumWidth(420);
    labelHeaderPrimary_ = wrappedLabel(this, 4, true);
    labelHeaderSecondary_ = wrappedLabel(this, 1, true);
    labelMessage_ = wrappedLabel(this, 0, false);
    buttonClose_ = new QPushButton(AppConstants::Alerts::buttons::close, this);
    buttonClose_->setMinimumSize(120, 32);
    buttonClose_->setDefault(true);
    // The button in "appColor", outlined and titled in blue like the other light buttons.
    Extensions::setButton(
        buttonClose_, NamedColors::color(NamedColors::appColor).value_or(QColor(Qt::white)), true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 20);
    layout->setSpacing(14);
    layout->addWidget(labelHeaderPrimary_);
    layout->addWidget(labelHeaderSecondary_);
    layout->addWidget(labelMessage_);
    layout->addSpacing(6);
    layout->addWidget(buttonClose_, 0, Qt::AlignHCenter);

    connect(buttonClose_, &QPushButton::clicked, this,
            &OstrivaneCustomAlertView::buttonCloseClicked);
}

void OstrivaneCustomAlertView::configure(const QString& headerPrimaryText,
                                         const std::optional<QString>& headerSecondaryText,
                                         const QString& message, bool isHeaderSecondaryHidden) {
    labelHeaderPrimary_->setText(headerPrimaryText);
    labelHeaderSecondary_->setText(headerSecondaryText.value_or(QString()));
    labelHeaderSecondary_->setHidden(isHeaderSecondaryHidden);
    labelMessage_->setText(message);
}

void OstrivaneCustomAlertView::buttonCloseClicked() {
    // The action may replace the screen under the sheet; take it before the sheet goes.
    const std::function<void()> action = std::move(closeAction_);
    closeAction_ = nullptr;
    dismiss();
    if (action)
        action();
}

void OstrivaneCustomAlertView::cancelOperation() {
    // One way out only: Escape takes it.
    buttonCloseClicked();
}

void OstrivaneCustomAlertView::resetGlobalVariables() {
    AppState::resetForSignOut();
}
