#include "upgrade/OstrivaneCheckForUpgradesViewController.h"

#include "core/AppConstants.h"

#include <QFont>
#include <QLabel>
#include <QVBoxLayout>

OstrivaneCheckForUpgradesViewController::OstrivaneCheckForUpgradesViewController(QWidget* parent)
    : ViewController(parent) {
    setObjectName(AppConstants::Scenes::checkForUpgradesViewController);
    setAccessibleName(tr("Firmware upgrade screen"));
    labelHeading_ = new QLabel(tr("Firmware Upgrade"), this);
    QFont font = labelHeading_->font();
    font.setPointSize(font.pointSize() + 8);
    font.setBold(true);
    labelHeading_->setFont(font);
    labelHeading_->setAlignment(Qt::AlignHCenter);
    labelMessage_ =
        new QLabel(tr("Upgrading the transmitter's firmware is not available in this application.\n"
                      "Choose Home in the sidebar to return to the welcome screen."),
                   this);
    labelMessage_->setWordWrap(true);
    labelMessage_->setAlignment(Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 40, 40, 40);
    layout->setSpacing(18);
    layout->addStretch(1);
    layout->addWidget(labelHeading_);
    layout->addWidget(labelMessage_);
    layout->addStretch(2);
}
