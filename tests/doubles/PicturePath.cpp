#include "doubles/PicturePath.h"

#include <QDir>
#include <QStandardPaths>

QString picturePath(const QString& fileName) {
    QString folder = qEnvironmentVariable("PELLORY_PICTURES_DIR");
    if (folder.isEmpty())
        folder = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                     .filePath(QStringLiteral("pellory-pictures"));
    if (!QDir().mkpath(folder))
        return {};
    return QDir(folder).filePath(fileName);
}
