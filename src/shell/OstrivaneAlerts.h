#pragma once

#include <QString>

#include <functional>
#include <optional>

class ViewController;

// The alerts every screen shows. Each takes the screen that shows it; the alert is a sheet
// over that screen's window.

// The end of a failed upgrade or support upload: shows the code's catalogue text, re-enables
// the sidebar, the log-out button and the window's close button, and records the code with
// the cloud. A code that the catalogue lacks shows the local record "100" instead and sends
// no audit record; the interface is re-enabled all the same. Runs on the main queue.
//
// runGoesOn, when given, is asked as the alert is shown. While it holds, the failure is one that
// a running support upload outlives (one log lost, the others still coming): the code's alert,
// debug-log line and audit record come all the same, but the interface stays locked and
// " Close " only takes the alert away, so the running upload stays in view until its own end.
// One such alert shows at a time: a newer one takes the place of one still open.
//
// message, when given, is shown (and logged) instead of the code's catalogue text, for a failure
// the catalogue's text would misname; the code is recorded with the cloud all the same.
void showUpgradeOrSupportUploadErrorAlert(ViewController* screen, const QString& code,
                                          std::function<bool()> runGoesOn = {},
                                          const std::optional<QString>& message = std::nullopt);

// Enables or disables the close button of the screen's window, on the main queue.
void showWindowCloseRedCircleBasedOnUpgradeProgressStatus(ViewController* screen, bool isEnabled);

// "No internet" (the catalogue text of "5000025"), on the main queue, unless the window
// already shows a sheet.
void showNoInternetAlert(ViewController* screen);

// Presents the custom alert over the screen; main thread only.
void addAlertView(ViewController* screen, const QString& headerPrimaryText,
                  const std::optional<QString>& headerSecondaryText, const QString& message,
                  std::optional<bool> isHeaderSecondaryHidden = std::nullopt);

// The catalogue alert: the code's user-friendly text under "Notification", its description
// written to the debug log. Shows and logs nothing for a code the catalogue lacks. Main
// thread only.
void showAlert(ViewController* screen, const QString& code);
