#pragma once
// Ctrl-C as the desktop's stop button: the first one asks the running
// transfer to stop (the engine aborts it cleanly and keeps the connection),
// a second one ends the program at once.

namespace cli {

// Installs (again) the handler of the first Ctrl-C and forgets an earlier one.
void armInterrupt();
// True once Ctrl-C was pressed since armInterrupt.
bool interruptRequested();
// Passes a pending Ctrl-C on to the engine as its stop request.
void forwardInterrupt();

inline constexpr int InterruptedStatus = 130;

} // namespace cli
