#pragma once

#include <QString>

#include <memory>

// A real file system with no room left, for the files of one folder. As root (CI), a small tmpfs
// is mounted over the folder in a mount namespace of the calling thread's own, so nothing is
// seen outside the test, and the folder's own content is hidden until the end. Without the right
// to mount, the process's file-size limit is set to 0 with SIGXFSZ ignored: every write then
// fails with EFBIG, as the kernel reports a full disk, in this folder and everywhere else.
//
// Files written before fill() are written normally; from fill() until makeRoom() or the end,
// every write that needs room fails.
class FullDisk {
public:
    // Makes the folder ready; nothing, with why, when this machine offers neither way.
    static std::unique_ptr<FullDisk> over(const QString& folder, QString* whyNot);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    void fill();
    void makeRoom();

private:
    enum class Way { tmpfs, sizeLimit };
    FullDisk(const QString& folder, Way way);

    QString folder_;
    Way way_;
};
