#include "SimExtensions.h"

#include <QMap>

namespace {
QMap<QString, SimExtension>& registry() {
    static QMap<QString, SimExtension> extensions;
    return extensions;
}
} // namespace

bool registerSimExtension(const QString& name, SimExtension extension) {
    registry().insert(name, std::move(extension));
    return true;
}

QStringList runSimExtensions(SimContext& context) {
    QStringList ran;
    for (auto it = registry().cbegin(); it != registry().cend(); ++it) {
        it.value()(context);
        ran.append(it.key());
    }
    return ran;
}
