#pragma once

#include <QByteArray>
#include <QString>

// The body of a file upload to the support page: one form part holding the file.
namespace MultipartBody {

// A fresh boundary: an upper-case UUID text.
QString newBoundary();

// "multipart/form-data; boundary=" + the boundary.
QByteArray contentType(const QString& boundary);

// "--" boundary CRLF, the part's two header lines, a blank line, the file bytes, CRLF, and
// "--" boundary "--" CRLF.
QByteArray build(const QString& boundary, const QString& filename, const QByteArray& fileBytes);

} // namespace MultipartBody
