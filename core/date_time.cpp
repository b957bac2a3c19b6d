// DateTime: a date and a time of day together.
#include "core/clock.h"
#include "core/date_time.h"

void DateTime::Clear() {
  date.Clear();
  time.Clear();
}

void DateTime::Set(int32_t month, int32_t day, int32_t year, int32_t hour, int32_t minute,
                   int32_t second) {
  date.SetMDYExpanded(month, day, year);
  time.Set(hour, minute, second);
}

DateTime DateTime::Now() {
  // One reading for both parts, so that a date and time taken at midnight stay consistent.
  FileStamp now = ReadClock();
  DateTime result;
  result.date.SetMDY(now.month, now.day, now.year);
  result.time.Set(now.hour, now.minute, now.second);
  return result;
}

int DateTime::Compare(const DateTime& a, const DateTime& b) {
  int byDate = Date::Compare(a.date, b.date);
  return byDate != 0 ? byDate : Time::Compare(a.time, b.time);
}

int DateTime::CompareDateOnly(const DateTime& a, const DateTime& b) {
  return Date::Compare(a.date, b.date);
}

String DateTime::FormatNow(const String& pattern) { return Now().Format(pattern); }
