// The support upload of a file from the application folder.
#include "cloud/GlobalManager.h"

#include "cloud/MultipartBody.h"
#include "cloud/ReplyMapping.h"
#include "cloud/RequestBuilder.h"
#include "core/AppConstants.h"
#include "core/Console.h"
#include "core/Helper.h"
#include "platform/MainQueue.h"
#include "platform/RegularFile.h"
#include "platform/TimeScale.h"

#include <QDir>
#include <QNetworkRequest>

namespace {

// A bare file name: nothing that could lead out of the folder or break the part's header.
bool isPlainFileName(const QString& filename) {
    if (filename.isEmpty() || filename == u"." || filename == u"..")
        return false;
    for (const QChar c : filename) {
        if (c == u'/' || c == u'\\' || c == u'"' || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

// The file's bytes; a missing file is an empty part, an unreadable one an error.
std::variant<QByteArray, APIError> readFile(const QString& path, qint64 maxBytes) {
    RegularFile::ReadResult file = RegularFile::read(path, maxBytes);
    if (file.status == RegularFile::ReadStatus::missing) {
        Console::print(AppConstants::Http::uploadFileMissing);
        return QByteArray();
    }
    if (file.status != RegularFile::ReadStatus::read)
        return APIError::other(file.error);
    return std::move(file.bytes);
}

} // namespace

void GlobalManager::uploadCSVFile(const QString& to, const QString& filename,
                                  APICompletion completion, qint64 maxBytes) {
    uploadFile(to, Helper::getDirectoryUrl(), filename, std::move(completion), maxBytes);
}

void GlobalManager::uploadFile(const QString& to, const std::optional<QString>& folder,
                               const QString& filename, APICompletion completion, qint64 maxBytes) {
    if (!completion)
        completion = [](const APIResult&) {};
    if (!MainQueue::isMainThread()) {
        MainQueue::async(this,
                         [=, this] { uploadFile(to, folder, filename, completion, maxBytes); });
        return;
    }
    const std::optional<QUrl> url = RequestBuilder::parseURL(to);
    if (!url) {
        completion(APIResult::failure(APIError::invalidURL()));
        return;
    }
    // Without a folder there is nothing to read; say so rather than leave the caller waiting.
    if (!folder) {
        completion(APIResult::failure(
            APIError::other(QStringLiteral("No application folder to read the file from"))));
        return;
    }
    if (!isPlainFileName(filename)) {
        completion(APIResult::failure(
            APIError::other(QStringLiteral("Not a plain file name: %1").arg(filename))));
        return;
    }
    std::variant<QByteArray, APIError> bytes = readFile(QDir(*folder).filePath(filename), maxBytes);
    if (auto* error = std::get_if<APIError>(&bytes)) {
        completion(APIResult::failure(*error));
        return;
    }

    const QString boundary = MultipartBody::newBoundary();
    QNetworkRequest request(*url);
    request.setRawHeader(AppConstants::Http::contentType.toUtf8(),
                         MultipartBody::contentType(boundary));
    request.setTransferTimeout(TimeScale::milliseconds(RequestBuilder::requestTimeoutSeconds));
    const QByteArray body =
        MultipartBody::build(boundary, filename, std::get<QByteArray>(std::move(bytes)));

    sendOnce(request, HTTPMethod::POST, body, ReplyMapping::Style::upload, std::move(completion));
}
