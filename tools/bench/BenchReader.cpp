// The floor under the application's cost of a large reply: a bare reader that takes the same
// bytes from the same pseudo-terminal, in a plain poll-and-read loop, and reports its own CPU.
#include "BenchProtocol.h"

#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

int benchReader(const char* device, long long bytes) {
    const int fd = ::open(device, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return 1;
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    std::fprintf(stderr, "%sready\n", Bench::prefix);
    std::fflush(stderr);
    char buffer[65536];
    long long got = 0;
    while (got < bytes) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0)
            break;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            got += n;
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::fprintf(stderr, "%scpu %.3f %lld\n", Bench::prefix, cpu, got);
    ::close(fd);
    return got >= bytes ? 0 : 1;
}
