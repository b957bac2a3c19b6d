// FileStamp conversions to and from the Windows time records.
#ifdef _WIN32

#include <windows.h>

#include "core/file_stamp.h"

namespace {

bool FitsWord(int32_t v) { return v >= 0 && v <= 0xFFFF; }

}  // namespace

bool FileStamp::FromFileTime(const FILETIME* fileTime) {
  FILETIME local;
  SYSTEMTIME fields;
  if (fileTime == nullptr || !FileTimeToLocalFileTime(fileTime, &local) ||
      !FileTimeToSystemTime(&local, &fields)) {
    Clear();
    return false;
  }
  return FromSystemTime(&fields);
}

bool FileStamp::FromSystemTime(const SYSTEMTIME* systemTime) {
  if (systemTime == nullptr) {
    Clear();
    return false;
  }
  year = systemTime->wYear;
  month = systemTime->wMonth;
  day = systemTime->wDay;
  hour = systemTime->wHour;
  minute = systemTime->wMinute;
  second = systemTime->wSecond;
  return true;
}

bool FileStamp::ToFileTime(FILETIME& fileTime) const {
  // A field outside the 16 bits of SYSTEMTIME would otherwise alias a valid one (65537 as 1).
  if (!FitsWord(year) || !FitsWord(month) || !FitsWord(day) || !FitsWord(hour) ||
      !FitsWord(minute) || !FitsWord(second)) {
    return false;
  }
  SYSTEMTIME fields;
  fields.wYear = WORD(year);
  fields.wMonth = WORD(month);
  fields.wDayOfWeek = 0;  // ignored by the conversion
  fields.wDay = WORD(day);
  fields.wHour = WORD(hour);
  fields.wMinute = WORD(minute);
  fields.wSecond = WORD(second);
  fields.wMilliseconds = 0;
  FILETIME converted;
  if (!SystemTimeToFileTime(&fields, &converted)) return false;
  fileTime = converted;
  return true;
}

#endif  // _WIN32
