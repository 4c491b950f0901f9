#pragma once

#include <QString>
#include <QStringList>

// A file of ours that cannot be used as it is (not text we can read, past the bound of a read)
// is moved aside rather than overwritten, so that nothing in it is lost. Each copy gets a name
// of its own: the file's name, ".unreadable-" and the moment of the move in UTC as
// yyyyMMdd'T'HHmmss'Z', with "-2", "-3"... after it when that name is taken. Only the newest
// keptCopies of these copies stay: the move removes the older ones. Nothing else beside the
// file is touched, neither a copy the user made nor one an earlier build kept.
namespace SetAside {

inline constexpr int keptCopies = 3;

struct Result {
    bool ok = false;
    QString name;  // the copy's file name, when moved
    QString error; // why the file stays where it is
};

// Moves the file at path to its copy in the same folder.
Result move(const QString& path);

// The paths of the copies of the file at path, newest first.
QStringList copiesOf(const QString& path);

} // namespace SetAside
