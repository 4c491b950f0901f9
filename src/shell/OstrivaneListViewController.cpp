#include "shell/OstrivaneListViewController.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "shell/OstrivaneAlerts.h"
#include "transmitter/TxInfo.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <utility>

namespace {
// Observers act only on a Boolean object; anything else leaves the state as it is.
std::optional<bool> booleanObject(const QVariant& object) {
    if (!object.isValid() || !object.canConvert<bool>())
        return std::nullopt;
    return object.toBool();
}
} // namespace

OstrivaneListViewController::OstrivaneListViewController(QWidget* parent) : ViewController(parent) {
    listView_ = new QListWidget(this);
    listView_->addItem(AppConstants::Sidebar::home);
    listView_->addItem(AppConstants::Sidebar::help);
    listView_->setCurrentRow(home);
    listView_->setFrameShape(QFrame::NoFrame);
    listView_->setAccessibleName(tr("Sidebar"));
    listView_->setStyleSheet(QStringLiteral("QListWidget::item { padding: 6px 8px; }"));
    labelUpgrading_ = new QLabel(AppConstants::Sidebar::upgrading, this);
    labelUpgrading_->hide();
    labelAppVersion_ = new QLabel(this);
    labelTransmitter_ = new QLabel(this);
    labelTransmitter_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 12, 8, 12);
    layout->addWidget(listView_, 1);
    layout->addWidget(labelUpgrading_);
    layout->addWidget(labelTransmitter_);
    layout->addWidget(labelAppVersion_);
    setFixedWidth(sidebarWidth);
    refreshVersions();

    connect(listView_, &QListWidget::currentRowChanged, this,
            &OstrivaneListViewController::currentRowChanged);
    listView_->viewport()->installEventFilter(this);
    listView_->installEventFilter(this);
    connect(listView_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { rowClicked(listView_->row(item)); });

    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, AppConstants::Notifications::enableDisableMenuButtonsForSuportUpload,
                       [this](const QVariant& object) {
                           if (const auto enabled = booleanObject(object))
                               MainQueue::async(
                                   this, [this, enabled] { setRowsEnabled(*enabled, false); });
                       });
    center.addObserver(this, AppConstants::Notifications::enableDisableMenuButtons,
                       [this](const QVariant& object) {
                           if (const auto enabled = booleanObject(object))
                               MainQueue::async(
                                   this, [this, enabled] { setRowsEnabled(*enabled, !*enabled); });
                       });
    center.addObserver(
        this, AppConstants::Notifications::setTransmitterSWandAppVersions,
        [this](const QVariant&) { MainQueue::async(this, [this] { refreshVersions(); }); });
}

int OstrivaneListViewController::selectedRow() const {
    return selectedRow_;
}

void OstrivaneListViewController::selectRowSilently(int row) {
    const QSignalBlocker blocker(listView_);
    listView_->setCurrentRow(row);
    selectedRow_ = row;
}

void OstrivaneListViewController::selectRow(int row) {
    listView_->setCurrentRow(row);
}

void OstrivaneListViewController::currentRowChanged(int row) {
    if (row < 0 || row == selectedRow_)
        return;
    if (!shouldSelectRow(row)) {
        selectRowSilently(selectedRow_);
        // A click selects its row after making it current: the highlight goes back once the
        // click is done, too.
        MainQueue::async(this, [this] { selectRowSilently(selectedRow_); });
        return;
    }
    selectedRow_ = row;
    emit rowSelected(row);
}

bool OstrivaneListViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == listView_->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // Beside the rows there is nothing to choose: the list would only lose its
            // selection.
            if (!listView_->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
                return true;
            if (event->type() == QEvent::MouseButtonPress)
                selectedRowAtPress_ = selectedRow_;
            break;
        default:
            break;
        }
    } else if (watched == listView_ && event->type() == QEvent::KeyPress) {
        // Return, Enter and Space choose the row with the focus, as a click on it does.
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat())
                rowActivated(listView_->currentRow());
            return true;
        default:
            break;
        }
    }
    return ViewController::eventFilter(watched, event);
}

void OstrivaneListViewController::rowClicked(int row) {
    // A click that changed the selection has been handled already.
    if (std::exchange(selectedRowAtPress_, -1) == row)
        rowActivated(row);
}

void OstrivaneListViewController::rowActivated(int row) {
    // Home chosen while it is already selected still takes the user home, away from whatever
    // screen covers the welcome pane (the upgrade screen says to leave it this way).
    if (row == home && row == selectedRow_)
        emit rowSelected(row);
}

bool OstrivaneListViewController::shouldSelectRow(int row) {
    if (row == help && !NetworkManager::shared().isConnected()) {
        showNoInternetAlert(this);
        return false;
    }
    return true;
}

void OstrivaneListViewController::setRowsEnabled(bool enabled, bool showUpgrading) {
    listView_->setEnabled(enabled);
    labelUpgrading_->setVisible(showUpgrading);
}

void OstrivaneListViewController::viewWillAppear() {
    refreshVersions();
}

void OstrivaneListViewController::refreshVersions() {
    labelAppVersion_->setText(tr("App version %1").arg(AppState::g_currentAppVersion));
    const TxInfo& info = TxInfo::shared();
    labelTransmitter_->setVisible(!info.serialNum.isEmpty());
    labelTransmitter_->setText(
        tr("Transmitter %1\nFirmware %2").arg(info.serialNum, info.firmwareVersion));
}
