// Time: a time of day, its validity, the 12-hour clock and order.
#include "core/clock.h"
#include "core/date_time.h"

void Time::Clear() {
  hour = -1;
  minute = -1;
  second = -1;
}

void Time::Set(int32_t newHour, int32_t newMinute, int32_t newSecond) {
  hour = newHour;
  minute = newMinute;
  second = newSecond;
}

Time Time::Now() {
  FileStamp now = ReadClock();
  Time time;
  time.Set(now.hour, now.minute, now.second);
  return time;
}

bool Time::IsInvalid() const {
  return hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59;
}

int32_t Time::Hour12() const {
  if (hour == 0) return 12;
  if (hour >= 13 && hour <= 23) return hour - 12;
  return hour;
}

int Time::Compare(const Time& a, const Time& b) {
  const bool aInvalid = a.IsInvalid();
  const bool bInvalid = b.IsInvalid();
  if (aInvalid || bInvalid) {
    if (aInvalid && bInvalid) return 0;
    return aInvalid ? -1 : 1;
  }
  if (a.hour != b.hour) return a.hour < b.hour ? -1 : 1;
  if (a.minute != b.minute) return a.minute < b.minute ? -1 : 1;
  if (a.second != b.second) return a.second < b.second ? -1 : 1;
  return 0;
}
