// The screen's widgets: the headings, the in-progress pane and the completion pane.
#include "support/OstrivaneLogsViewController.h"

#include "core/Extensions.h"
#include "platform/BusyIndicator.h"

#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* makeLabel(const QString& text, int pointSizeDelta, bool bold, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + pointSizeDelta);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

void OstrivaneLogsViewController::buildLayout() {
    setAutoFillBackground(true);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(40, 40, 40, 40);
    root->setSpacing(16);

    labelHeading = makeLabel(tr("Support Upload"), 8, true, this);
    labelHeading->setObjectName(QStringLiteral("labelHeading"));
    labelSubheading =
        makeLabel(tr("Your transmitter's logs are being downloaded and sent to Ostrivane Customer "
                     "Support. Keep the transmitter in its cradle until the upload is complete."),
                  2, false, this);
    labelSubheading->setObjectName(QStringLiteral("labelSubheading"));
    root->addWidget(labelHeading);
    root->addWidget(labelSubheading);

    uploadLogsView = new QWidget(this);
    uploadLogsView->setObjectName(QStringLiteral("uploadLogsView"));
    auto* running = new QVBoxLayout(uploadLogsView);
    spinner = new BusyIndicator(uploadLogsView);
    spinner->setObjectName(QStringLiteral("spinner"));
    spinner->setAccessibleName(QStringLiteral("Support upload activity"));
    progressBar = new QProgressBar(uploadLogsView);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
    progressBar->setAccessibleName(QStringLiteral("Support upload progress"));
    uploadLogsPercentageLabel = makeLabel(UploadProgress().percentageLine(), 0, false, this);
    uploadLogsPercentageLabel->setObjectName(QStringLiteral("uploadLogsPercentageLabel"));
    running->addWidget(spinner, 0, Qt::AlignHCenter);
    running->addWidget(progressBar);
    running->addWidget(uploadLogsPercentageLabel);
    root->addWidget(uploadLogsView);

    uploadCompleteView = new QWidget(this);
    uploadCompleteView->setObjectName(QStringLiteral("uploadCompleteView"));
    auto* complete = new QVBoxLayout(uploadCompleteView);
    buttonOkToExit = new QPushButton(tr("OK"), uploadCompleteView);
    buttonOkToExit->setObjectName(QStringLiteral("buttonOkToExit"));
    Extensions::setActionButton(buttonOkToExit);
    complete->addWidget(buttonOkToExit, 0, Qt::AlignHCenter);
    uploadCompleteView->hide();
    root->addWidget(uploadCompleteView);
    root->addStretch(1);

    connect(buttonOkToExit, &QPushButton::clicked, this,
            &OstrivaneLogsViewController::buttonOkClicked);
}
