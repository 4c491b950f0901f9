#pragma once

#include <functional>

class MainWindow;

// The application's start-up, in the order main() runs it.
namespace AppDelegate {

// What needs neither a window nor the cloud: a write past the file-size limit fails instead of
// ending the application, the running version, the local catalogue record "100", the
// application-support folder, the interface language "en", quitting with the last window or on
// SIGTERM or SIGINT with a last try of every change the disk refused, and where the debug log
// finds the transmitter's serial number.
void applicationDidFinishLaunching();

// Asks the cloud for the message catalogue (a JSON array of catalogue entries). An answer that
// decodes replaces the catalogue, keeping the local record behind the cloud's entries; any
// failure keeps the catalogue as it is and is written to the debug log. done, when given,
// runs after the answer has been handled.
void callApiGetEuaMessages(std::function<void(bool received)> done = {});

// Starts following the cradle and the network connection.
void startServices();

// Once the window shows: when the information file could not be read, an alert over it names
// the file and the reason (the console has said so as well). Without the file there are no
// cloud addresses, and every request that fails after would seem the connection's fault.
void reportUnreadableInformationFile(MainWindow& window);

} // namespace AppDelegate
