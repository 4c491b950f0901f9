#pragma once

#include "support/HelpAddress.h"
#include "support/HelpMenuType.h"

#include <QString>
#include <QVariantMap>

#include <optional>

// One e-mail to customer support, as the cloud is asked to send it.
struct HelpEmail {
    QString subject;
    QString body;
    // The attachment's content and its file name; without a file name nothing is attached.
    std::optional<QString> attachment;
    std::optional<QString> fileName;

    // A troubleshooting or other message (any other kind is taken as troubleshooting), with
    // the activity CSV (base64) attached as "ActivityHistoryLog.csv". The message goes in as
    // typed: nothing is trimmed or escaped here.
    static HelpEmail message(HelpMenuType kind, const QString& messageText, const QString& dateTime,
                             const QString& systemInfo, const QString& activityCsvBase64);

    // A request for a paper copy of the user guide, shipped to the address; nothing attached.
    static HelpEmail paperCopy(const HelpAddress& shipTo, const QString& dateTime,
                               const QString& systemInfo);
};
