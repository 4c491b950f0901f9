#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// Keeps a widget covering its host's whole area: the geometry follows every resize of the
// host, and a change in what the pinned widget needs is passed on to the host's layout. Lives
// as a child of the pinned widget and ends the pinning when deleted.
class EdgePin final : public QObject {
public:
    EdgePin(QWidget* pinned, QWidget* host);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* pinned_;
    QPointer<QWidget> host_;
};
