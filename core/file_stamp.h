// FileStamp: a file's date and time in local time, as six signed 32-bit numbers. A month of 0
// means "no stamp".
#pragma once

#include <cstdint>

struct FileStamp {
  int32_t year;
  int32_t month;  // 1..12; 0 = no stamp
  int32_t day;
  int32_t hour;
  int32_t minute;
  int32_t second;
};
