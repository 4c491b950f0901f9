#pragma once

#include <QString>

// Progress of one support upload, kept as a floating-point sum so that fractional shares
// (10 / list size, 50 / log count) add up exactly as the run adds them. The bar and the
// percentage line show the sum truncated to a whole number.
class UploadProgress {
public:
    static constexpr double headerStep = 2.0;      // each single header step and list fetch
    static constexpr double listsTotal = 10.0;     // shared by the commands of one list
    static constexpr double headerListsDone = 1.0; // both lists sent, before the header request
    static constexpr double logsTotal = 50.0;      // shared by the log ids
    static constexpr double fileWritten = 4.0;
    static constexpr double uploadStarting = 4.0;
    static constexpr double uploadAccepted = 6.0;
    static constexpr double fileDeleted = 1.0;

    // Share of one listed command, and of one log id. Only used with a non-empty list.
    static double listCommandShare(qsizetype listSize) { return listsTotal / listSize; }
    static double logShare(qsizetype logCount) { return logsTotal / logCount; }

    // Adds an increment (never subtracts) and returns the new sum.
    double add(double increment);
    double value() const { return value_; }
    int wholePercent() const;
    // "37% of upload completed. Please wait..." for a sum of 37.8.
    QString percentageLine() const;

private:
    double value_ = 0.0;
};
