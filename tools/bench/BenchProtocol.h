#pragma once

#include <QString>

// The benchmark runs as two processes of one executable: the driver (cloud and transmitter,
// and the measuring) and the application it starts and measures from outside.
namespace Bench {
// Lines of the application's standard error that are meant for the driver start with this.
inline constexpr const char* prefix = "bench: ";
} // namespace Bench

// The application side; returns its exit status.
int benchApp(int argc, char** argv, double scale, const QString& echoUrl);
// A bare reader of the pseudo-terminal: reads the bytes and reports its CPU time.
int benchReader(const char* device, long long bytes);
// The driver side; returns its exit status.
int benchDriver(int argc, char** argv);
