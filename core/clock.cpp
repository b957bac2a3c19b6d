// The installed clock: the system clock unless a test has replaced it.
#include "core/clock.h"

namespace {

ClockFunction InstalledClock = nullptr;

}  // namespace

FileStamp ReadClock() { return InstalledClock != nullptr ? InstalledClock() : SystemClock(); }

void SetClockForTesting(ClockFunction clock) { InstalledClock = clock; }
