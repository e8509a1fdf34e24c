#pragma once
// The local time zone, named once at start-up.

namespace platform {

// Without TZ the C library looks at the system's zone file again for every
// local-time conversion, and a listing converts several dates per entry:
// naming that same file once makes the conversions cheap. Does nothing when
// TZ is already set or the system has no zone file. Call it at the start of
// main(), before anything converts a time.
void pinLocalTimeZone();

} // namespace platform
