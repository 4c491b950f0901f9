#pragma once

#include "cloud/APIResult.h"

class QNetworkReply;

// Turns a finished reply into the answer's body or an APIError.
namespace ReplyMapping {

enum class Style {
    // Common requests: status errors keep the body; transport failures that mean the
    // connection is gone count as noInternetConnection.
    request,
    // File uploads: status errors carry no body; every transport failure is `other`.
    upload,
};

APIResult map(QNetworkReply& reply, Style style);

} // namespace ReplyMapping
