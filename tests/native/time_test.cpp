// Time, DateTime and FileStamp: validity, the 12-hour clock, order, the clock readings and the
// stamp conversions that need no operating system.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "core/clock.h"
#include "core/date_time.h"
#include "core/file_stamp.h"
#include "date_test_support.h"

using date_test::ExpectEmpty;
using date_test::FixedClock;
using date_test::HMS;
using date_test::InYear;
using date_test::MakeDate;
using date_test::MakeTime;
using date_test::MDY;

namespace {

TEST(TimeValue, NewAndClearedTimesAreAllMinusOne) {
  Time t;
  ExpectEmpty(t);
  t.Set(1, 2, 3);
  t.Clear();
  ExpectEmpty(t);
  EXPECT_TRUE(t.IsInvalid());
}

TEST(TimeIsInvalid, ChecksEachField) {
  const struct {
    int hour, minute, second;
    bool invalid;
  } cases[] = {
      {0, 0, 0, false},  {23, 59, 59, false}, {12, 30, 0, false}, {24, 0, 0, true},
      {-1, 0, 0, true},  {0, 60, 0, true},    {0, -1, 0, true},   {0, 0, 60, true},
      {0, 0, -1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(HMS(MakeTime(c.hour, c.minute, c.second)));
    EXPECT_EQ(MakeTime(c.hour, c.minute, c.second).IsInvalid(), c.invalid);
  }
}

TEST(TimeHour12, MapsTheDayOntoTwelveHours) {
  const struct {
    int hour, hour12;
    bool am;
  } cases[] = {
      {0, 12, true},   {1, 1, true},   {11, 11, true}, {12, 12, false}, {13, 1, false},
      {23, 11, false}, {24, 24, false}, {-1, -1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hour);
    Time t = MakeTime(c.hour, 0, 0);
    EXPECT_EQ(t.Hour12(), c.hour12);
    EXPECT_EQ(t.IsAM(), c.am);
  }
}

TEST(TimeCompare, InvalidFirstThenHourMinuteSecond) {
  const Time empty;
  const Time invalid = MakeTime(25, 0, 0);
  const struct {
    const char* name;
    Time a, b;
    int expected;
  } cases[] = {
      {"two invalid", empty, invalid, 0},
      {"invalid first", invalid, MakeTime(0, 0, 0), -1},
      {"valid after invalid", MakeTime(0, 0, 0), empty, 1},
      {"hour decides", MakeTime(9, 59, 59), MakeTime(10, 0, 0), -1},
      {"minute decides", MakeTime(10, 31, 0), MakeTime(10, 30, 59), 1},
      {"second decides", MakeTime(10, 30, 1), MakeTime(10, 30, 2), -1},
      {"equal", MakeTime(10, 30, 1), MakeTime(10, 30, 1), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Time::Compare(c.a, c.b), c.expected);
  }
}

DateTime MakeDateTime(int month, int day, int year, int hour, int minute, int second) {
  DateTime dt;
  dt.date = MakeDate(month, day, year);
  dt.time = MakeTime(hour, minute, second);
  return dt;
}

TEST(DateTimeValue, NewAndClearedAreEmpty) {
  DateTime dt = MakeDateTime(3, 5, 2003, 14, 7, 9);
  dt.Clear();
  ExpectEmpty(dt.date);
  ExpectEmpty(dt.time);
  DateTime fresh;
  ExpectEmpty(fresh.date);
  ExpectEmpty(fresh.time);
}

TEST(DateTimeSet, ExpandsTheYearAndKeepsTheTime) {
  FixedClock clock(InYear(2003));
  DateTime dt;
  dt.Set(3, 5, 3, 14, 7, 9);
  EXPECT_EQ(MDY(dt.date), "3/5/2003");
  EXPECT_EQ(dt.date.dayNumber, 2452703);
  EXPECT_EQ(HMS(dt.time), "14:7:9");
  dt.Set(3, 5, 99, 0, 0, 0);
  EXPECT_EQ(MDY(dt.date), "3/5/1999");
}

TEST(DateTimeCompare, DatesFirstThenTimes) {
  const DateTime early = MakeDateTime(3, 5, 2003, 23, 0, 0);
  const DateTime lateSameDay = MakeDateTime(3, 5, 2003, 23, 0, 1);
  const DateTime nextDay = MakeDateTime(3, 6, 2003, 0, 0, 0);
  DateTime noTime = MakeDateTime(3, 5, 2003, 0, 0, 0);
  noTime.time.Clear();
  const struct {
    const char* name;
    DateTime a, b;
    int expected, dateOnly;
  } cases[] = {
      {"date decides over time", nextDay, early, 1, 1},
      {"time decides on one day", early, lateSameDay, -1, 0},
      {"equal", early, MakeDateTime(3, 5, 2003, 23, 0, 0), 0, 0},
      {"missing time comes first", noTime, early, -1, 0},
      {"empty before anything", DateTime(), noTime, -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DateTime::Compare(c.a, c.b), c.expected);
    EXPECT_EQ(DateTime::Compare(c.b, c.a), -c.expected);
    EXPECT_EQ(DateTime::CompareDateOnly(c.a, c.b), c.dateOnly);
  }
}

TEST(ClockReadings, TodayAndNowComeFromOneReading) {
  FixedClock clock(FileStamp{2003, 3, 5, 14, 7, 9});
  DateTime now = DateTime::Now();
  EXPECT_EQ(MDY(now.date), "3/5/2003");
  EXPECT_EQ(now.date.dayNumber, 2452703);
  EXPECT_EQ(now.date.weekday, 4);
  EXPECT_EQ(HMS(now.time), "14:7:9");
  EXPECT_EQ(HMS(Time::Now()), "14:7:9");
}

TEST(ClockReadings, SystemClockIsTheCLibraryLocalTime) {
  // Read between two samples of the C library's clock; a second may tick in between.
  auto sample = [] {
    std::time_t now = std::time(nullptr);
    std::tm fields;
    localtime_r(&now, &fields);
    return std::to_string(fields.tm_year + 1900) + "-" + std::to_string(fields.tm_mon + 1) +
           "-" + std::to_string(fields.tm_mday) + " " + std::to_string(fields.tm_hour) + ":" +
           std::to_string(fields.tm_min) + ":" + std::to_string(fields.tm_sec);
  };
  const std::string before = sample();
  const FileStamp reading = ReadClock();
  const std::string after = sample();
  const std::string read = std::to_string(reading.year) + "-" + std::to_string(reading.month) +
                           "-" + std::to_string(reading.day) + " " +
                           std::to_string(reading.hour) + ":" + std::to_string(reading.minute) +
                           ":" + std::to_string(reading.second);
  EXPECT_TRUE(read == before || read == after) << read << " not in [" << before << ", " << after
                                               << "]";
}

TEST(ClockReadings, RestoringTheSystemClock) {
  {
    FixedClock clock(FileStamp{1801, 1, 1, 0, 0, 0});
    EXPECT_EQ(Date::Today().year, 1801);
  }
  EXPECT_GT(Date::Today().year, 2000);
}

TEST(FileStampCompare, FieldByFieldThenTheSecondsDifference) {
  const FileStamp base = {2003, 3, 5, 14, 7, 9};
  const struct {
    const char* name;
    FileStamp a, b;
    int expected;
  } cases[] = {
      {"year decides as -1", {2002, 12, 31, 23, 59, 59}, base, -1},
      {"year decides as 1", {2004, 1, 1, 0, 0, 0}, base, 1},
      {"month before day", {2003, 4, 1, 0, 0, 0}, base, 1},
      {"day", {2003, 3, 4, 23, 59, 59}, base, -1},
      {"hour", {2003, 3, 5, 15, 0, 0}, base, 1},
      {"minute", {2003, 3, 5, 14, 6, 59}, base, -1},
      {"seconds give their difference", {2003, 3, 5, 14, 7, 50}, base, 41},
      {"negative difference", {2003, 3, 5, 14, 7, 0}, base, -9},
      {"equal", base, base, 0},
      {"saturated difference", {2003, 3, 5, 14, 7, INT32_MIN}, {2003, 3, 5, 14, 7, 1}, INT32_MIN},
      {"large years still -1", {INT32_MIN, 1, 1, 0, 0, 0}, {INT32_MAX, 1, 1, 0, 0, 0}, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FileStamp::Compare(c.a, c.b), c.expected);
  }
}

TEST(FileStampToDateTime, SetsDateAndTimeWithExpansion) {
  FixedClock clock(InYear(2003));
  DateTime dt = FileStamp{2003, 3, 5, 14, 7, 9}.ToDateTime();
  EXPECT_EQ(MDY(dt.date), "3/5/2003");
  EXPECT_EQ(dt.date.dayNumber, 2452703);
  EXPECT_EQ(HMS(dt.time), "14:7:9");
  EXPECT_EQ(MDY(FileStamp{98, 12, 31, 0, 0, 0}.ToDateTime().date), "12/31/1998");
}

TEST(FileStampClear, EmptiesAllSixFields) {
  FileStamp stamp = {2003, 3, 5, 14, 7, 9};
  stamp.Clear();
  EXPECT_EQ(stamp.year, 0);
  EXPECT_EQ(stamp.month, 0);
  EXPECT_EQ(stamp.day, 0);
  EXPECT_EQ(stamp.hour, 0);
  EXPECT_EQ(stamp.minute, 0);
  EXPECT_EQ(stamp.second, 0);
}

}  // namespace
