#include "doubles/FullDisk.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QString filler = QStringLiteral(".filler");

// The mount namespace is the calling thread's: made once, so that the mounts it holds vanish
// with the process and never reach the machine's other processes.
bool privateMounts() {
    static const bool made = ::unshare(CLONE_NEWNS) == 0 &&
                             ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return made;
}

rlimit savedLimit{};

} // namespace

std::unique_ptr<FullDisk> FullDisk::over(const QString& folder, QString* whyNot) {
    if (!QDir().mkpath(folder)) {
        *whyNot = QStringLiteral("cannot make ") + folder;
        return nullptr;
    }
    if (::geteuid() == 0 && privateMounts() &&
        ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=256k") == 0)
        return std::unique_ptr<FullDisk>(new FullDisk(folder, Way::tmpfs));
    if (::getrlimit(RLIMIT_FSIZE, &savedLimit) == 0)
        return std::unique_ptr<FullDisk>(new FullDisk(folder, Way::sizeLimit));
    *whyNot = QStringLiteral("neither a tmpfs nor a file-size limit can be had here");
    return nullptr;
}

FullDisk::FullDisk(const QString& folder, Way way) : folder_(folder), way_(way) {
    if (way_ == Way::sizeLimit)
        std::signal(SIGXFSZ, SIG_IGN);
}

FullDisk::~FullDisk() {
    makeRoom();
    if (way_ == Way::tmpfs)
        ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
}

void FullDisk::fill() {
    if (way_ == Way::sizeLimit) {
        rlimit none = savedLimit;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &none);
        return;
    }
    QFile file(QDir(folder_).filePath(filler));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    // Whole blocks, then single bytes: the last page may have taken part of a block.
    const QByteArray block(4096, 'x');
    for (const qsizetype size : {block.size(), qsizetype(1)})
        while (file.write(block.constData(), size) == size) {
        }
}

void FullDisk::makeRoom() {
    if (way_ == Way::sizeLimit)
        ::setrlimit(RLIMIT_FSIZE, &savedLimit);
    else
        QFile::remove(QDir(folder_).filePath(filler));
}
