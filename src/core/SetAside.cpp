#include "core/SetAside.h"

#include "core/Clock.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace {

const QString marker = QStringLiteral(".unreadable-");

struct Copy {
    QString name;
    QString moment; // yyyyMMdd'T'HHmmss'Z', which sorts as time does
    int number;     // 1 for a copy without a number
};

// The copies of the file named `name` in the folder, newest first.
QList<Copy> copiesIn(const QDir& folder, const QString& name) {
    const QRegularExpression copy(u'^' + QRegularExpression::escape(name + marker) +
                                  QStringLiteral(R"((\d{8}T\d{6}Z)(?:-(\d+))?$)"));
    QList<Copy> copies;
    // Regular files only: a folder or a link with such a name is not one of ours.
    for (const QString& entry :
         folder.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = copy.match(entry);
        if (match.hasMatch())
            copies.append({entry, match.captured(1), std::max(1, match.captured(2).toInt())});
    }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return a.moment != b.moment ? a.moment > b.moment : a.number > b.number;
    });
    return copies;
}

// A name newer than every copy there is: the moment of now (or of the newest copy, should the
// clock have gone back), numbered after the copies of that moment.
QString nextName(const QDir& folder, const QString& name, const QList<Copy>& copies) {
    QString moment = Clock::now().toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    int number = 1;
    if (!copies.isEmpty() && copies.first().moment >= moment) {
        moment = copies.first().moment;
        number = copies.first().number + 1;
    }
    const auto named = [&] {
        return name + marker + moment + (number > 1 ? u'-' + QString::number(number) : QString());
    };
    // Something not ours may hold the name.
    for (QFileInfo taken(folder.filePath(named())); taken.exists() || taken.isSymLink();
         taken = QFileInfo(folder.filePath(named())))
        ++number;
    return named();
}

} // namespace

SetAside::Result SetAside::move(const QString& path) {
    const QFileInfo file(path);
    const QDir folder = file.dir();
    const QString name = nextName(folder, file.fileName(), copiesIn(folder, file.fileName()));
    // rename() itself, not QFile::rename: that would fall back to copying the whole file, and
    // would not say why it failed.
    if (std::rename(QFile::encodeName(path).constData(),
                    QFile::encodeName(folder.filePath(name)).constData()) != 0)
        return {false, {}, qt_error_string(errno)};
    QFile::setPermissions(folder.filePath(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QStringList copies = copiesOf(path);
    for (qsizetype older = keptCopies; older < copies.size(); ++older)
        QFile::remove(copies.at(older));
    return {true, name, {}};
}

QStringList SetAside::copiesOf(const QString& path) {
    const QFileInfo file(path);
    QStringList paths;
    for (const Copy& copy : copiesIn(file.dir(), file.fileName()))
        paths.append(file.dir().filePath(copy.name));
    return paths;
}
