// Helpers shared by the date and time tests: a fixed clock and readable views of calendar values.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/clock.h"
#include "core/date_time.h"

namespace date_test {

// Replaces the system clock with a fixed reading for the fixture's lifetime.
class FixedClock {
 public:
  explicit FixedClock(const FileStamp& now) {
    reading_ = now;
    SetClockForTesting(&Read);
  }
  ~FixedClock() { SetClockForTesting(nullptr); }
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;

 private:
  static FileStamp Read() { return reading_; }
  static inline FileStamp reading_ = {0, 0, 0, 0, 0, 0};
};

// A clock reading at noon of 1 June of the year.
inline FileStamp InYear(int year) { return FileStamp{year, 6, 1, 12, 0, 0}; }

// "m/d/y", the fields as stored (no validity implied).
inline std::string MDY(const Date& d) {
  return std::to_string(d.month) + "/" + std::to_string(d.day) + "/" + std::to_string(d.year);
}

// "h:m:s", the fields as stored.
inline std::string HMS(const Time& t) {
  return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
}

inline std::string Text(const String& s) { return std::string(s.CStr(), size_t(s.Length())); }

inline Date MakeDate(int month, int day, int year) {
  Date d;
  d.SetMDY(month, day, year);
  return d;
}

inline Time MakeTime(int hour, int minute, int second) {
  Time t;
  t.Set(hour, minute, second);
  return t;
}

inline void ExpectEmpty(const Date& d) {
  EXPECT_EQ(d.dayNumber, 0);
  EXPECT_EQ(d.month, 0);
  EXPECT_EQ(d.day, 0);
  EXPECT_EQ(d.year, 0);
  EXPECT_EQ(d.weekday, 0);
}

inline void ExpectEmpty(const Time& t) {
  EXPECT_EQ(t.hour, -1);
  EXPECT_EQ(t.minute, -1);
  EXPECT_EQ(t.second, -1);
}

}  // namespace date_test
