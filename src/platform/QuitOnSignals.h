#pragma once

// SIGINT and SIGTERM end the application's event loop the way its last window does, so that
// what runs when the application quits (QCoreApplication::aboutToQuit, the code after exec())
// runs for them too. The handler only writes a byte to a socket; the event loop reads it and
// quits. Call once the application object exists; later calls change nothing.
namespace QuitOnSignals {
void install();
} // namespace QuitOnSignals
