#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

// The application's information file for a run against the simulator: the shipped file with
// every cloud address ("HOST..." keys) moved to the simulator's base address, each keeping
// its own path, and "SERIALDEVICEPATH" naming the simulated transmitter.
namespace SimInfoFile {

QJsonObject forSimulator(const QJsonObject& shipped, const QString& baseUrl,
                         const QString& serialDevicePath);

// Reads the shipped file, writes the result atomically; returns an error text on failure.
std::optional<QString> write(const QString& shippedPath, const QString& outputPath,
                             const QString& baseUrl, const QString& serialDevicePath);

} // namespace SimInfoFile
