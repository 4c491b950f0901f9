#include "core/Console.h"

#include <QMutex>
#include <QMutexLocker>

#include <cstdio>

void Console::print(const QString& line) {
    static QMutex mutex;
    const QByteArray bytes = line.toUtf8() + '\n';
    QMutexLocker lock(&mutex);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}
