#pragma once

#include "cloud/APIResult.h"

#include <QNetworkReply>

// Turns a finished reply into the answer's body or an APIError.
namespace ReplyMapping {

enum class Style {
    // Common requests: status errors keep the body; a transport failure counts as
    // noInternetConnection when it means the connection is gone (meansOffline) or happens
    // while the computer is known to be offline.
    request,
    // File uploads: status errors carry no body; every transport failure is `other`.
    upload,
};

APIResult map(QNetworkReply& reply, Style style);

// Whether a transport failure means that the computer lost its connection, rather than that
// the server or the request was at fault.
bool meansOffline(QNetworkReply::NetworkError error);

} // namespace ReplyMapping
