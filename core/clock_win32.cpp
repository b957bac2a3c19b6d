// The system clock of the Windows engine: GetLocalTime.
#ifdef _WIN32

#include <windows.h>

#include "core/clock.h"

FileStamp SystemClock() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FileStamp stamp;
  stamp.FromSystemTime(&now);
  return stamp;
}

#endif  // _WIN32
