// FileStamp: a file's date and time in local time, as six signed 32-bit numbers in this order
// (the layout of the archive's 24-byte stamps). A month of 0 means "no stamp".
#pragma once

#include <cstdint>

#include "core/date_time.h"

#ifdef _WIN32
struct _FILETIME;
struct _SYSTEMTIME;
#endif

struct FileStamp {
  int32_t year;
  int32_t month;  // 1..12; 0 = no stamp
  int32_t day;
  int32_t hour;
  int32_t minute;
  int32_t second;

  // All six fields 0: no stamp.
  void Clear();

  // DateTime::Set of the six fields (two-digit years are expanded).
  DateTime ToDateTime() const;

  // Field by field in the order year, month, day, hour, minute, second: the first difference of
  // year to minute gives -1 or 1; when they are all equal the result is the difference of the
  // seconds (a.second - b.second, saturated to the 32-bit range).
  static int Compare(const FileStamp& a, const FileStamp& b);

#ifdef _WIN32
  // A file time (universal) converted to local time and then to the six fields. A null input or
  // a failed conversion empties the stamp and gives false.
  bool FromFileTime(const _FILETIME* fileTime);
  // The six fields of a broken-down time; null empties the stamp and gives false.
  bool FromSystemTime(const _SYSTEMTIME* systemTime);
  // The six fields (milliseconds 0) as a file time. The result is a local file time: convert it
  // to universal time before setting it on a file. False (and fileTime untouched) when the
  // fields name no representable time.
  bool ToFileTime(_FILETIME& fileTime) const;
#endif
};
