#pragma once

#include "platform/ViewController.h"

class QLabel;
class QListWidget;

// The sidebar: the rows "Home" and "Help", the application's and the transmitter's versions,
// and the "upgrading..." line while an upgrade keeps the rows disabled.
class OstrivaneListViewController : public ViewController {
    Q_OBJECT
public:
    enum Row { home = 0, help = 1 };
    // One width on every screen and at every window size, so the list never jumps: room for
    // its rows and versions, and beside it for the widest screen at the smallest window.
    static constexpr int sidebarWidth = 170;

    explicit OstrivaneListViewController(QWidget* parent = nullptr);

    QListWidget* listView() const { return listView_; }
    QLabel* labelUpgrading() const { return labelUpgrading_; }
    QLabel* labelAppVersion() const { return labelAppVersion_; }
    QLabel* labelTransmitter() const { return labelTransmitter_; }

    int selectedRow() const;
    // Marks the row as selected without announcing it.
    void selectRowSilently(int row);
    // Selects the row as the user would: refused rows leave the selection as it was.
    void selectRow(int row);

    // The versions as they stand now.
    void refreshVersions();

signals:
    void rowSelected(int row);

protected:
    void viewWillAppear() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void currentRowChanged(int row);
    void rowClicked(int row);
    // The row chosen again, by a click or a key, while it is the selected one.
    void rowActivated(int row);
    bool shouldSelectRow(int row);
    void setRowsEnabled(bool enabled, bool showUpgrading);

    QListWidget* listView_;
    QLabel* labelUpgrading_;
    QLabel* labelAppVersion_;
    QLabel* labelTransmitter_;
    int selectedRow_ = home;
    // The selected row when the mouse button went down, before the click could change it.
    int selectedRowAtPress_ = -1;
};
