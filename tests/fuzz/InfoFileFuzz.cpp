// The information file (Info.json) as the application reads it: any file reads without harm;
// a JSON object yields each text value, with "#()" standing for "//", and nothing for a key
// that holds no plain value.
#include "support/FuzzInput.h"

#include "platform/BundleInfo.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureFuzzApplication();
    static const QString path = fuzzFolder() + QStringLiteral("/Info.json");
    const QByteArray bytes = fuzzBytes(data, size);
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), path);
    }
    BundleInfo::setFilePath(path);
    const QString absent = QStringLiteral("\x01absent");
    FUZZ_CHECK(!BundleInfo::find(absent) && BundleInfo::value(absent).isEmpty(), {});

    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::optional<QString> found = BundleInfo::find(it.key());
        if (it.value().isString()) {
            QString expected = it.value().toString();
            expected.replace(QStringLiteral("#()"), QStringLiteral("//"));
            FUZZ_CHECK(found == expected, it.key());
        } else if (it.value().isArray() || it.value().isObject() || it.value().isNull()) {
            FUZZ_CHECK(!found,
                       QStringLiteral("a key without a plain value was found: ") + it.key());
        } else {
            FUZZ_CHECK(found && !found->isEmpty(), it.key());
        }
    }
    BundleInfo::setFilePath({});
    return 0;
}
