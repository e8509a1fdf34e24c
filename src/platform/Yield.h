#pragma once
// Long operations run on the one GUI thread and keep the window alive by letting
// the event loop run between their steps. Block loops call this for every block,
// so it only really yields when a few milliseconds have passed since last time.

namespace platform {

// Processes pending events unless the last real yield was less than ~4 ms ago.
void yieldToEventLoop();

// Always processes pending events (a step the user should see at once).
void yieldNow();

} // namespace platform
