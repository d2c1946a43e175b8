#pragma once
// SIGTERM (a desktop logging out), SIGINT and SIGHUP handed to the event
// loop: the signal handler only writes a byte to a pipe, and the handler
// given here runs on the window's thread, where the program can end as a
// close would.

#include <functional>

class QObject;

namespace sigil {

// Runs `handler` on the event loop of `context`'s thread after each of the
// three signals. False when the pipe or the handlers cannot be set up. Meant
// to be called once per process.
bool handleTerminationSignals(QObject* context, std::function<void(int signal)> handler);

}  // namespace sigil
