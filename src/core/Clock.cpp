#include "core/Clock.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex g_mutex;
std::function<QDateTime()> g_provider;
} // namespace

QDateTime Clock::now() {
    std::function<QDateTime()> provider;
    {
        QMutexLocker lock(&g_mutex);
        provider = g_provider;
    }
    return provider ? provider() : QDateTime::currentDateTime();
}

void Clock::setNowProvider(std::function<QDateTime()> provider) {
    QMutexLocker lock(&g_mutex);
    g_provider = std::move(provider);
}
