#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// The day's debug log file in the application-support folder:
// "Qxj_DebugLog_" + transmitter serial number + "_" + MMddyyyy + ".txt", one line per entry,
// "MM/dd/yyyy HH:mm:ss: " + text. Safe to call from any thread; file errors are swallowed.
// A line reaches the file whole or not at all, and only a regular file in the folder (no FIFO,
// device or link) is written. After a failed write (a full disk) lines are dropped for ten
// seconds before the disk is tried again.
class Logger {
public:
    // Appends one line. With writeHeader, the header block (application version and build,
    // operating system, kernel and processor architecture) is written first, also when the
    // file already exists.
    static void log(const QString& text, bool writeHeader = false);

    // Where the transmitter's serial number comes from (empty text when none is known).
    static void setSerialNumberProvider(std::function<QString()> provider);

    // The file name for the given day and serial number.
    static QString fileName(const QDate& date, const QString& serialNumber);
    // The full path of the file that log() writes to now; empty when there is no folder.
    static QString currentFilePath();

    // "file_name:<file> | function: <function> | line: <line>", the start of every line that
    // names its source. The file is reduced to its name.
    static QString prefix(const char* file, const QString& function, int line);

    // The place a function was called from, taken as a defaulted last argument
    // (Logger::Caller caller = Logger::Caller::here()), so that an error found further down is
    // logged with the caller's function and line instead of those of a shared helper.
    struct Caller {
        const char* file;
        const char* function;
        int line;
        static constexpr Caller here(const char* file = __builtin_FILE(),
                                     const char* function = __builtin_FUNCTION(),
                                     int line = __builtin_LINE()) {
            return {file, function, line};
        }
    };
    static QString prefix(const Caller& caller) {
        return prefix(caller.file, QString::fromUtf8(caller.function), caller.line);
    }
};

// The source prefix of a debug-log line at the place of use; the function is given as the
// signature the line should name, e.g. LOG_PREFIX_FN("callApiGetUserGuideLink()").
#define LOG_PREFIX_FN(signature) Logger::prefix(__FILE__, QStringLiteral(signature), __LINE__)
// The same inside a screen whose code is split over several files: the line names the screen's
// main file (its class's sourceFile), whichever of its files writes it.
#define SCREEN_LOG_PREFIX_FN(signature)                                                            \
    Logger::prefix(sourceFile, QStringLiteral(signature), __LINE__)
// The same, naming the enclosing C++ function.
#define LOG_PREFIX Logger::prefix(__FILE__, QString::fromUtf8(__func__), __LINE__)
