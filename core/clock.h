// The local wall clock behind Date::Today, Time::Now, DateTime::Now and two-digit year
// expansion. The system clock reads the operating system's local time (GetLocalTime on Windows,
// the C library's localtime elsewhere); tests replace it with a fixed reading.
#pragma once

#include "core/file_stamp.h"

// The clock's reading as local calendar fields (year, month 1..12, day, hour, minute, second).
using ClockFunction = FileStamp (*)();

// The current local time from the installed clock.
FileStamp ReadClock();

// The operating system's local time.
FileStamp SystemClock();

// Installs a replacement clock; null restores the system clock.
void SetClockForTesting(ClockFunction clock);
