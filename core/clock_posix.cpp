// The system clock of native builds: the C library's local time.
#ifndef _WIN32

#include <ctime>

#include "core/clock.h"

FileStamp SystemClock() {
  FileStamp stamp = {0, 0, 0, 0, 0, 0};
  std::time_t now = std::time(nullptr);
  std::tm fields;
  if (now == std::time_t(-1) || localtime_r(&now, &fields) == nullptr) return stamp;
  stamp.year = fields.tm_year + 1900;
  stamp.month = fields.tm_mon + 1;
  stamp.day = fields.tm_mday;
  stamp.hour = fields.tm_hour;
  stamp.minute = fields.tm_min;
  // A leap second (tm_sec 60) reads as the last second of the minute.
  stamp.second = fields.tm_sec > 59 ? 59 : fields.tm_sec;
  return stamp;
}

#endif  // _WIN32
