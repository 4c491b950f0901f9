#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

// Captures what is written to standard output (or to another descriptor, such as standard
// error) while it lives.
class StdoutCapture {
public:
    explicit StdoutCapture(int fd = STDOUT_FILENO) : fd_(fd) {
        file_.open();
        flushAll();
        saved_ = ::dup(fd_);
        ::dup2(file_.handle(), fd_);
    }
    ~StdoutCapture() { restore(); }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Everything written so far; ends the capture.
    QByteArray text() {
        restore();
        QFile reader(file_.fileName());
        reader.open(QIODevice::ReadOnly);
        return reader.readAll();
    }

private:
    void restore() {
        if (saved_ < 0)
            return;
        flushAll();
        ::dup2(saved_, fd_);
        ::close(saved_);
        saved_ = -1;
    }
    static void flushAll() {
        std::fflush(stdout);
        std::fflush(stderr);
    }
    int fd_;
    QTemporaryFile file_;
    int saved_ = -1;
};
