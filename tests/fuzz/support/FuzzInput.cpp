#include "support/FuzzInput.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

FuzzInput::FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

std::uint8_t FuzzInput::byte() {
    return atEnd() ? 0 : data_[pos_++];
}

int FuzzInput::number(int lowest, int highest) {
    const unsigned span = static_cast<unsigned>(highest - lowest);
    unsigned value = 0;
    for (unsigned reach = 0; reach < span && !atEnd(); reach = (reach << 8) | 0xffU)
        value = (value << 8) | byte();
    return lowest + static_cast<int>(span == 0xffffffffU ? value : value % (span + 1));
}

QByteArray FuzzInput::bytes(std::size_t count) {
    const std::size_t taken = std::min(count, size_ - std::min(pos_, size_));
    QByteArray out(reinterpret_cast<const char*>(data_ + pos_), static_cast<qsizetype>(taken));
    pos_ += taken;
    return out;
}

QByteArray FuzzInput::rest() {
    return bytes(size_);
}

QByteArray fuzzBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

namespace {
QTemporaryDir& home() {
    static QTemporaryDir folder;
    return folder;
}
} // namespace

QString fuzzFolder() {
    return home().path();
}

void ensureFuzzApplication() {
    if (QCoreApplication::instance())
        return;
    const QByteArray root = home().path().toUtf8();
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
    setenv("XDG_STATE_HOME", (root + "/state").constData(), 1);
    QStandardPaths::setTestModeEnabled(true);
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ostrivane"));
    QCoreApplication::setApplicationName(QStringLiteral("PelloryFuzz"));
}

void fuzzFailure(const char* what, const QString& detail) {
    std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}
