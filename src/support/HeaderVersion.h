#pragma once

#include <QString>

#include <optional>

// The header CSV names the transmitter-side version entry "TMVERSION,<digits and dots>"; the
// upload carries the application's version instead. Every match, even one that starts inside a
// longer word, becomes "QXJVERSION," and the application version. Without a known version each
// match gets the placeholder version; the rest of the CSV is never touched.
QString replaceTMVersion(const QString& csv, const std::optional<QString>& appVersion);

// The same with the version of the application's information file ("CFBundleShortVersionString"),
// read each time.
QString replaceTMVersion(const QString& csv);
