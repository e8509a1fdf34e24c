#pragma once
// Ctrl-C as the desktop's stop button: the first one asks what runs to stop
// (the session's waits look at it; a transfer is aborted cleanly and the
// connection kept), a second one ends the program at once.

namespace cli {

// Installs (again) the handler of the first Ctrl-C and forgets an earlier one.
void armInterrupt();
// True once Ctrl-C was pressed since armInterrupt.
bool interruptRequested();

inline constexpr int InterruptedStatus = 130;

} // namespace cli
