// FileStamp: emptying, conversion to DateTime and the field-by-field order.
#include <cstdint>

#include "core/file_stamp.h"

void FileStamp::Clear() {
  year = 0;
  month = 0;
  day = 0;
  hour = 0;
  minute = 0;
  second = 0;
}

DateTime FileStamp::ToDateTime() const {
  DateTime result;
  result.Set(month, day, year, hour, minute, second);
  return result;
}

int FileStamp::Compare(const FileStamp& a, const FileStamp& b) {
  const int32_t FileStamp::*const kOrder[] = {&FileStamp::year, &FileStamp::month,
                                              &FileStamp::day, &FileStamp::hour,
                                              &FileStamp::minute};
  for (auto field : kOrder) {
    if (a.*field != b.*field) return a.*field < b.*field ? -1 : 1;
  }
  // Stamps come from archives and may hold any values: the difference is taken in 64 bits and
  // saturated rather than allowed to overflow.
  int64_t difference = int64_t(a.second) - int64_t(b.second);
  if (difference > INT32_MAX) return INT32_MAX;
  if (difference < INT32_MIN) return INT32_MIN;
  return int(difference);
}
