#include "cloud/MultipartBody.h"

#include "core/AppConstants.h"

#include <QUuid>

QString MultipartBody::newBoundary() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

QByteArray MultipartBody::contentType(const QString& boundary) {
    return (AppConstants::Http::multipartFormData + boundary).toUtf8();
}

QByteArray MultipartBody::build(const QString& boundary, const QString& filename,
                                const QByteArray& fileBytes) {
    const QByteArray b = boundary.toUtf8();
    QByteArray body;
    body.reserve(fileBytes.size() + 256);
    body += "--" + b + "\r\n";
    body +=
        AppConstants::Http::partContentDisposition.toUtf8() + '"' + filename.toUtf8() + "\"\r\n";
    body += AppConstants::Http::partContentType.toUtf8() + "\r\n\r\n";
    body += fileBytes;
    body += "\r\n";
    body += "--" + b + "--\r\n";
    return body;
}
