#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// Takes a fuzz input apart into choices and byte strings. Reading past the end yields zeros and
// empty strings, so every input is a complete program for a target.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size);

    bool atEnd() const { return pos_ >= size_; }
    std::uint8_t byte();
    // A number from lowest to highest, both included, taken from as few bytes as the range needs.
    int number(int lowest, int highest);
    bool flag() { return (byte() & 1) != 0; }
    // Up to count bytes.
    QByteArray bytes(std::size_t count);
    // A string whose length comes first, in one byte.
    QByteArray chunk() { return bytes(byte()); }
    QByteArray rest();

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The raw fuzz input as bytes.
QByteArray fuzzBytes(const std::uint8_t* data, std::size_t size);

// A Qt application with every file location the product may touch pointed into a temporary
// folder, made on first use and kept for the whole run; processEvents runs its timers.
void ensureFuzzApplication();
// A folder of this process's own inside that temporary folder, for the files a target writes.
QString fuzzFolder();

// A fuzz target's own finding: prints what broke and aborts, so libFuzzer keeps the input.
[[noreturn]] void fuzzFailure(const char* what, const QString& detail = {});
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzzFailure(#condition, detail);                                                       \
    } while (false)
