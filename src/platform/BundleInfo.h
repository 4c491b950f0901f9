#pragma once

#include <QString>

#include <optional>

// The application's information file: a flat JSON object of text values ("Info.json") shipped
// beside the executable and read once, on first use. The environment variable
// PELLORY_INFO_FILE names another file; tests may point the reader at a file of their own.
// Inside a value, "#()" stands for "//" (so addresses survive tools that treat "//" as a
// comment).
namespace BundleInfo {
// The value under key, or nothing when the key is missing (or the file could not be read).
std::optional<QString> find(const QString& key);
// The value under key; empty text when it is missing.
QString value(const QString& key);
// The file that is (or will be) read.
QString filePath();
// Why the file could not be read (a missing file, a parse error and where it lies), as the
// console was told when it was read; nothing when it was read.
std::optional<QString> readError();
// Reads the given file on next use instead of the default one; an empty path returns to the
// default. Drops what was read before.
void setFilePath(const QString& path);
} // namespace BundleInfo
