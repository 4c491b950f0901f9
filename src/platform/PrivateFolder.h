#pragma once

#include <QString>

// The folders the application owns and the files it writes are the user's alone, whatever the
// umask: folders 0700, files 0600 (on systems with such modes). One that an earlier build made
// open is tightened when it is next made sure of or written. The folders ours sit in (the
// user's ~/.local/share, ~/.config) are not ours, and stay as they are.
namespace PrivateFolder {

// The mode of every file the application writes.
inline constexpr unsigned fileMode = 0600;

// Makes folder, and every folder between it and notOurs (notOurs itself excepted: it is made,
// when missing, as the system makes folders), the user's alone. Without notOurs, only folder
// itself is ours. Returns why folder is not there; empty text when it is.
QString make(const QString& folder, const QString& notOurs = {});

// Makes the open file (a descriptor) the user's alone; does nothing where the system has no
// such modes.
void restrict(int fd);

} // namespace PrivateFolder
