#include "cloud/OnceReadBody.h"

#include <QNetworkReply>

#include <algorithm>
#include <cstring>

OnceReadBody::OnceReadBody(QByteArray bytes, QObject* parent)
    : QIODevice(parent), bytes_(std::move(bytes)) {
    open(QIODevice::ReadOnly);
}

bool OnceReadBody::seek(qint64 pos) {
    if (pos < this->pos() && !takeRewind())
        return false;
    return QIODevice::seek(pos);
}

bool OnceReadBody::reset() {
    return takeRewind() && QIODevice::seek(0);
}

bool OnceReadBody::takeRewind() {
    // Qt rewinds on the reply's own thread, the main one, with the redirect's answer in place.
    if (!reply_)
        return false;
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray target = reply_->rawHeader("Location");
    if ((status != 307 && status != 308) || target.isEmpty() || redirectsFollowed_.contains(target))
        return false;
    redirectsFollowed_.append(target);
    return true;
}

qint64 OnceReadBody::readData(char* data, qint64 maxSize) {
    const qint64 count = std::min(maxSize, std::max<qint64>(0, bytes_.size() - pos()));
    if (count > 0)
        std::memcpy(data, bytes_.constData() + pos(), static_cast<size_t>(count));
    return count;
}

qint64 OnceReadBody::writeData(const char*, qint64) {
    return -1;
}
