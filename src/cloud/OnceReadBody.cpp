#include "cloud/OnceReadBody.h"

#include <algorithm>
#include <cstring>

OnceReadBody::OnceReadBody(QByteArray bytes, QObject* parent)
    : QIODevice(parent), bytes_(std::move(bytes)) {
    open(QIODevice::ReadOnly);
}

bool OnceReadBody::seek(qint64 pos) {
    return pos >= this->pos() && QIODevice::seek(pos);
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
