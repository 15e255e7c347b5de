// The wall clock as the plug-in records it: UTC milliseconds for the update times, and local
// calendar times for the CSV log and the hover readout.
#pragma once

#include "core/CsvLogFormat.h"

#include <cstdint>

// Milliseconds since 1970-01-01 UTC now.
int64_t ClockNowUnixMilliseconds();
// The local clock now, as the log writes it.
LogClockTime LocalLogClockTime();
// The local calendar time of a UTC instant; false when the system cannot convert it.
bool LocalTimeOf(int64_t unixMilliseconds, LogClockTime& out);
