// The Windows clock and FileStamp conversions, against the real time functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/clock.h"
#include "core/date_time.h"
#include "core/file_stamp.h"

namespace {

constexpr FileStamp kSentinelStamp = {-7, -7, -7, -7, -7, -7};

std::string Text(const FileStamp& s) {
  return std::to_string(s.year) + "-" + std::to_string(s.month) + "-" + std::to_string(s.day) +
         " " + std::to_string(s.hour) + ":" + std::to_string(s.minute) + ":" +
         std::to_string(s.second);
}

std::string Text(const SYSTEMTIME& t) {
  return std::to_string(t.wYear) + "-" + std::to_string(t.wMonth) + "-" + std::to_string(t.wDay) +
         " " + std::to_string(t.wHour) + ":" + std::to_string(t.wMinute) + ":" +
         std::to_string(t.wSecond);
}

std::string Text(const DateTime& dt) {
  return std::to_string(dt.date.year) + "-" + std::to_string(dt.date.month) + "-" +
         std::to_string(dt.date.day) + " " + std::to_string(dt.time.hour) + ":" +
         std::to_string(dt.time.minute) + ":" + std::to_string(dt.time.second);
}

SYSTEMTIME MakeSystemTime(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME t = {};
  t.wYear = WORD(year);
  t.wMonth = WORD(month);
  t.wDay = WORD(day);
  t.wHour = WORD(hour);
  t.wMinute = WORD(minute);
  t.wSecond = WORD(second);
  return t;
}

FILETIME UtcFileTime(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME t = MakeSystemTime(year, month, day, hour, minute, second);
  FILETIME ft = {0xDEADBEEF, 0xDEADBEEF};
  EXPECT_TRUE(SystemTimeToFileTime(&t, &ft));
  return ft;
}

void ExpectCleared(const FileStamp& s) { EXPECT_EQ(Text(s), "0-0-0 0:0:0"); }

TEST(SystemClockWin32, NowAndTodayAreGetLocalTime) {
  SYSTEMTIME before;
  SYSTEMTIME after;
  GetLocalTime(&before);
  const DateTime now = DateTime::Now();
  const Date today = Date::Today();
  GetLocalTime(&after);
  const std::string read = Text(now);
  EXPECT_TRUE(read == Text(before) || read == Text(after))
      << read << " not in [" << Text(before) << ", " << Text(after) << "]";
  EXPECT_TRUE(today.day == before.wDay || today.day == after.wDay);
  EXPECT_FALSE(today.IsInvalid());
  EXPECT_FALSE(now.time.IsInvalid());
  // The weekday of the day number agrees with the system's (0 = Sunday there, 1 here).
  const SYSTEMTIME& sameDay = today.day == before.wDay ? before : after;
  EXPECT_EQ(today.weekday, sameDay.wDayOfWeek + 1);
}

TEST(FileStampWin32, FromFileTimeConvertsToLocalTime) {
  const FILETIME utcTimes[] = {
      UtcFileTime(2003, 3, 5, 19, 7, 9),     // winter
      UtcFileTime(2003, 7, 14, 13, 30, 15),  // summer
      UtcFileTime(1999, 12, 31, 23, 59, 59),
      UtcFileTime(1601, 1, 2, 0, 0, 0),
  };
  for (const FILETIME& utc : utcTimes) {
    FILETIME local = {0xDEADBEEF, 0xDEADBEEF};
    SYSTEMTIME expected;
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    ASSERT_TRUE(FileTimeToSystemTime(&local, &expected));
    SCOPED_TRACE(Text(expected));
    FileStamp stamp = kSentinelStamp;
    SetLastError(0);
    EXPECT_TRUE(stamp.FromFileTime(&utc));
    EXPECT_EQ(Text(stamp), Text(expected));
  }
}

TEST(FileStampWin32, FromFileTimeUsesTheLocalZone) {
  // The tests run in a zone five hours west of UTC in winter (see scripts/wine-run).
  TIME_ZONE_INFORMATION zone;
  DWORD kind = GetTimeZoneInformation(&zone);
  ASSERT_NE(kind, TIME_ZONE_ID_INVALID);
  const FILETIME utc = UtcFileTime(2003, 1, 15, 12, 0, 0);
  FileStamp stamp = kSentinelStamp;
  ASSERT_TRUE(stamp.FromFileTime(&utc));
  const int bias = zone.Bias + zone.StandardBias;  // minutes: UTC = local + bias
  const int localMinutes = 12 * 60 - bias;
  EXPECT_EQ(stamp.hour * 60 + stamp.minute, localMinutes);
  EXPECT_EQ(stamp.day, 15);
}

TEST(FileStampWin32, MissingOrUnconvertibleInputEmptiesTheStamp) {
  FileStamp stamp = kSentinelStamp;
  EXPECT_FALSE(stamp.FromFileTime(nullptr));
  ExpectCleared(stamp);

  stamp = kSentinelStamp;
  EXPECT_FALSE(stamp.FromSystemTime(nullptr));
  ExpectCleared(stamp);

  // File times from 2^63 on name no date; this one stays beyond 2^63 in any time zone.
  const FILETIME beyond = {0, 0xF0000000u};
  stamp = kSentinelStamp;
  SetLastError(0);
  EXPECT_FALSE(stamp.FromFileTime(&beyond));
  ExpectCleared(stamp);
}

TEST(FileStampWin32, FromSystemTimeCopiesTheSixFields) {
  SYSTEMTIME t = MakeSystemTime(2003, 3, 5, 14, 7, 9);
  t.wMilliseconds = 999;
  t.wDayOfWeek = 3;
  FileStamp stamp = kSentinelStamp;
  EXPECT_TRUE(stamp.FromSystemTime(&t));
  EXPECT_EQ(Text(stamp), "2003-3-5 14:7:9");
}

TEST(FileStampWin32, ToFileTimeMatchesSystemTimeToFileTime) {
  const FileStamp stamps[] = {
      {2003, 3, 5, 14, 7, 9},
      {1999, 12, 31, 23, 59, 59},
      {2000, 2, 29, 0, 0, 0},
      {1601, 1, 1, 0, 0, 0},
      {30827, 12, 31, 23, 59, 59},
  };
  for (const FileStamp& stamp : stamps) {
    SCOPED_TRACE(Text(stamp));
    SYSTEMTIME fields = MakeSystemTime(stamp.year, stamp.month, stamp.day, stamp.hour,
                                       stamp.minute, stamp.second);
    FILETIME expected = {0xDEADBEEF, 0xDEADBEEF};
    ASSERT_TRUE(SystemTimeToFileTime(&fields, &expected));
    FILETIME converted = {0xDEADBEEF, 0xDEADBEEF};
    SetLastError(0);
    EXPECT_TRUE(stamp.ToFileTime(converted));
    EXPECT_EQ(converted.dwLowDateTime, expected.dwLowDateTime);
    EXPECT_EQ(converted.dwHighDateTime, expected.dwHighDateTime);
  }
}

TEST(FileStampWin32, ToFileTimeAndBackThroughUniversalTime) {
  // The result is a local file time: made universal, FromFileTime brings back the same stamp.
  const FileStamp stamp = {2003, 7, 14, 9, 30, 15};
  FILETIME local = {0xDEADBEEF, 0xDEADBEEF};
  ASSERT_TRUE(stamp.ToFileTime(local));
  FILETIME utc = {0xDEADBEEF, 0xDEADBEEF};
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
  FileStamp back = kSentinelStamp;
  ASSERT_TRUE(back.FromFileTime(&utc));
  EXPECT_EQ(FileStamp::Compare(back, stamp), 0) << Text(back);
}

TEST(FileStampWin32, ToFileTimeRejectsFieldsThatNameNoTime) {
  const FileStamp stamps[] = {
      {2003, 13, 5, 14, 7, 9},  {2003, 0, 5, 14, 7, 9},  {2003, 2, 30, 0, 0, 0},
      {2003, 3, 5, 24, 0, 0},   {2003, 3, 5, 0, 60, 0},  {2003, 3, 5, 0, 0, 60},
      {2003, 3, 5, 0, 0, -1},   {1600, 12, 31, 0, 0, 0}, {67539, 3, 5, 14, 7, 9},
      {2003, 65539, 5, 14, 7, 9},
  };
  for (const FileStamp& stamp : stamps) {
    SCOPED_TRACE(Text(stamp));
    FILETIME converted = {0xDEADBEEF, 0xDEADBEEF};
    EXPECT_FALSE(stamp.ToFileTime(converted));
    EXPECT_EQ(converted.dwLowDateTime, 0xDEADBEEFu);
    EXPECT_EQ(converted.dwHighDateTime, 0xDEADBEEFu);
  }
}

}  // namespace
