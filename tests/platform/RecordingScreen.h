#pragma once

#include "platform/ViewController.h"

#include <QStringList>

// A screen that records its lifecycle hooks as "name:hook" into a shared list.
class RecordingScreen : public ViewController {
    Q_OBJECT
public:
    RecordingScreen(QString name, QStringList* events) : name_(std::move(name)), events_(events) {}

    int count(const QString& hook) const { return events_->count(name_ + u':' + hook); }

protected:
    void viewDidLoad() override { events_->append(name_ + QStringLiteral(":didLoad")); }
    void viewWillAppear() override { events_->append(name_ + QStringLiteral(":willAppear")); }
    void viewDidAppear() override { events_->append(name_ + QStringLiteral(":didAppear")); }

private:
    QString name_;
    QStringList* events_;
};
