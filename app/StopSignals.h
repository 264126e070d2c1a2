// Orderly end on SIGTERM, SIGINT and SIGHUP (a service manager's stop,
// Ctrl-C in a terminal, the end of the session): the signal handler only
// counts the signal and writes a byte to a socket pair; the event loop reads
// it and calls the program's own exit path, as if the user had asked.
#pragma once

#include <functional>

// Installs the handlers for the three signals, also where the process was
// started with them ignored (a job started in the background by a script).
// When an application object exists, onStop then runs in its event loop,
// once for every signal. Installing again replaces onStop.
void InstallStopSignals(std::function<void(int signal)> onStop = {});
// Puts the default actions back and drops onStop.
void RemoveStopSignals();
// How many of the signals arrived since the handlers were installed, and the
// last one (0 when none).
int StopSignalCount();
int LastStopSignal();
