// Date: day numbers in both directions, the calendar change of 1582, validity, leap years,
// two-digit years, order and the clock.
#include <gtest/gtest.h>

#include <string>

#include "core/date_time.h"
#include "date_test_support.h"

using date_test::ExpectEmpty;
using date_test::FixedClock;
using date_test::InYear;
using date_test::MakeDate;
using date_test::MDY;

namespace {

struct KnownDay {
  int month, day, year;
  int dayNumber;
  int weekday;
};

// Julian Day Numbers minus one, from astronomical tables.
constexpr KnownDay kKnownDays[] = {
    {1, 1, 2000, 2451544, 7},     // a Saturday
    {3, 5, 2003, 2452703, 4},     // a Wednesday
    {1, 1, 1970, 2440587, 5},     // a Thursday
    {10, 15, 1582, 2299160, 6},   // first Gregorian day, a Friday
    {10, 4, 1582, 2299159, 5},    // last Julian day, a Thursday
    {1, 1, 1, 1721423, 7},        // first day of year 1
    {12, 31, -1, 1721422, 6},     // the day before it: there is no year 0
    {1, 1, -4712, 365, 4},
    {12, 31, 9999, 5373483, 6},
    {2, 29, 2000, 2451603, 3},
    {3, 1, 1900, 2415079, 5},
};

TEST(DateSetMDY, ComputesDayNumberAndWeekday) {
  for (const KnownDay& k : kKnownDays) {
    SCOPED_TRACE(std::to_string(k.month) + "/" + std::to_string(k.day) + "/" +
                 std::to_string(k.year));
    Date d = MakeDate(k.month, k.day, k.year);
    EXPECT_EQ(d.dayNumber, k.dayNumber);
    EXPECT_EQ(d.weekday, k.weekday);
    EXPECT_EQ(d.month, k.month);
    EXPECT_EQ(d.day, k.day);
    EXPECT_EQ(d.year, k.year);
  }
}

TEST(DateSetDayNumber, ComputesTheCalendarFields) {
  for (const KnownDay& k : kKnownDays) {
    SCOPED_TRACE(k.dayNumber);
    Date d;
    d.SetDayNumber(k.dayNumber);
    EXPECT_EQ(MDY(d), MDY(MakeDate(k.month, k.day, k.year)));
    EXPECT_EQ(d.weekday, k.weekday);
    EXPECT_EQ(d.dayNumber, k.dayNumber);
  }
}

// Every day from 1 January -4712 to 31 December 9999 converts to its fields and back to the same
// number, and the weekday steps by one each day.
TEST(DateDayNumbers, RoundTripOverTheWholeRange) {
  const int first = MakeDate(1, 1, -4712).dayNumber;
  const int last = MakeDate(12, 31, 9999).dayNumber;
  ASSERT_EQ(first, 365);
  ASSERT_EQ(last, 5373483);

  int mismatches = 0;
  int firstMismatch = 0;
  int weekdayBreaks = 0;
  int firstWeekdayBreak = 0;
  Date d;
  Date back;
  int previousWeekday = 0;
  for (int n = first; n <= last; ++n) {
    d.SetDayNumber(n);
    back.SetMDY(d.month, d.day, d.year);
    if (back.dayNumber != n && mismatches++ == 0) firstMismatch = n;
    int expectedWeekday = previousWeekday == 7 ? 1 : previousWeekday + 1;
    if (n != first && d.weekday != expectedWeekday && weekdayBreaks++ == 0) {
      firstWeekdayBreak = n;
    }
    previousWeekday = d.weekday;
  }
  EXPECT_EQ(mismatches, 0) << "first at day number " << firstMismatch;
  EXPECT_EQ(weekdayBreaks, 0) << "first at day number " << firstWeekdayBreak;
  d.SetDayNumber(first);
  EXPECT_EQ(MDY(d), "1/1/-4712");
  d.SetDayNumber(last);
  EXPECT_EQ(MDY(d), "12/31/9999");
}

TEST(DateDayNumbers, GregorianChangeLeavesNoGap) {
  // 4 October 1582 is followed by 15 October; the ten days between were never written, and the
  // Julian rule still gives them numbers (10 October Julian is 20 October Gregorian).
  EXPECT_EQ(MakeDate(10, 15, 1582).dayNumber - MakeDate(10, 4, 1582).dayNumber, 1);
  EXPECT_EQ(MakeDate(10, 10, 1582).dayNumber, MakeDate(10, 20, 1582).dayNumber);
  Date d;
  d.SetDayNumber(2299160);
  EXPECT_EQ(MDY(d), "10/15/1582");
  d.SetDayNumber(2299159);
  EXPECT_EQ(MDY(d), "10/4/1582");
}

TEST(DateDayNumbers, ExactFactorsDecideTheMarch6700Boundary) {
  // The century correction is a product with the double nearest 1/36524.25, which lands just
  // below 63 on 1 March 6700: that day reads back as "29 February 6700" (and so is invalid),
  // while an exact division would give 1 March. The neighbours are unaffected.
  const int march1 = MakeDate(3, 1, 6700).dayNumber;
  ASSERT_EQ(march1, 4168243);
  Date d;
  d.SetDayNumber(march1);
  EXPECT_EQ(MDY(d), "2/29/6700");
  EXPECT_TRUE(d.IsInvalid());
  d.SetDayNumber(march1 - 1);
  EXPECT_EQ(MDY(d), "2/28/6700");
  d.SetDayNumber(march1 + 1);
  EXPECT_EQ(MDY(d), "3/2/6700");
}

TEST(DateDayNumbers, YearZeroIsTheYearBeforeOne) {
  // Written years before 1 count without a zero: 0 and -1 name the same year, and conversion
  // from a day number gives -1.
  EXPECT_EQ(MakeDate(6, 15, 0).dayNumber, MakeDate(6, 15, -1).dayNumber);
  EXPECT_EQ(MakeDate(1, 1, 0).dayNumber, MakeDate(1, 1, -1).dayNumber);
  Date d;
  d.SetDayNumber(MakeDate(6, 15, 0).dayNumber);
  EXPECT_EQ(MDY(d), "6/15/-1");
}

TEST(DateSetMDY, MonthBelowOneKeepsTheDayNumber) {
  Date d = MakeDate(3, 5, 2003);
  d.SetMDY(0, 7, 1999);
  EXPECT_EQ(MDY(d), "0/7/1999");
  EXPECT_EQ(d.dayNumber, 2452703);
  EXPECT_EQ(d.weekday, 4);
  d.SetMDY(-3, 7, 1999);
  EXPECT_EQ(d.dayNumber, 2452703);
  EXPECT_TRUE(d.IsInvalid());
}

TEST(DateSetDayNumber, ZeroEmptiesTheDate) {
  Date d = MakeDate(3, 5, 2003);
  d.SetDayNumber(0);
  ExpectEmpty(d);
  EXPECT_TRUE(d.IsInvalid());
}

TEST(DateSetDayNumber, ExtremeNumbersStayDefined) {
  // Day numbers from any 32-bit integer (a registry value, say) must not overflow the
  // arithmetic; the fields come out whatever they are, with a weekday only when in range.
  const int extremes[] = {INT32_MAX, INT32_MIN, INT32_MIN + 1, -1, 1};
  for (int n : extremes) {
    SCOPED_TRACE(n);
    Date d;
    d.SetDayNumber(n);
    EXPECT_EQ(d.dayNumber, n);
    Date back;
    back.SetMDY(d.month, d.day, d.year);
    if (n > 0) {
      EXPECT_EQ(back.dayNumber, n);
    }
  }
  // Absurd fields (from a parsed text) give some day number, without undefined arithmetic.
  Date d;
  d.SetMDY(INT32_MAX, INT32_MAX, INT32_MAX);
  EXPECT_EQ(MDY(d), "2147483647/2147483647/2147483647");
  EXPECT_TRUE(d.IsInvalid());
  d.SetMDY(1, 1, INT32_MIN);
  EXPECT_EQ(d.year, INT32_MIN);
}

TEST(DateIsInvalid, ChecksMonthWeekdayAndDay) {
  const struct {
    int month, day, year;
    bool invalid;
  } cases[] = {
      {3, 5, 2003, false},  {1, 31, 2003, false}, {1, 32, 2003, true},
      {4, 31, 2003, true},  {4, 30, 2003, false}, {2, 29, 1900, true},
      {2, 29, 2000, false}, {2, 29, 2003, true},  {2, 29, 1500, false},
      {2, 28, 1900, false}, {0, 5, 2003, true},   {13, 5, 2003, true},
      {3, 0, 2003, true},   {3, -1, 2003, true},  {12, 31, 9999, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.day) + "/" +
                 std::to_string(c.year));
    EXPECT_EQ(MakeDate(c.month, c.day, c.year).IsInvalid(), c.invalid);
  }
}

TEST(DateIsInvalid, RejectsAWeekdayOutOfRange) {
  Date d = MakeDate(3, 5, 2003);
  d.weekday = 0;
  EXPECT_TRUE(d.IsInvalid());
  d.weekday = 8;
  EXPECT_TRUE(d.IsInvalid());
  d.weekday = 7;
  EXPECT_FALSE(d.IsInvalid());
  EXPECT_TRUE(Date().IsInvalid());
}

TEST(DateIsLeapYear, JulianRuleBefore1582GregorianFrom1582) {
  const struct {
    int year;
    bool leap;
  } cases[] = {
      {1500, true},  {1300, true},  {1580, true},  {1581, false}, {1582, false},
      {1584, true},  {1600, true},  {1700, false}, {1900, false}, {2000, true},
      {2003, false}, {2004, true},  {2100, false}, {2400, true},  {0, true},
      {-4, true},    {-1, false},   {-100, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.year);
    EXPECT_EQ(Date::IsLeapYear(c.year), c.leap);
  }
}

TEST(DateDaysInMonth, TableWithLeapFebruary) {
  const struct {
    int month, year, days;
  } cases[] = {
      {1, 2003, 31}, {2, 2003, 28}, {2, 2004, 29}, {2, 1900, 28}, {2, 1500, 29},
      {3, 2003, 31}, {4, 2003, 30}, {6, 2003, 30}, {9, 2003, 30}, {11, 2003, 30},
      {12, 2003, 31}, {0, 2003, 0}, {13, 2003, 0}, {-1, 2003, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.year));
    EXPECT_EQ(Date::DaysInMonth(c.month, c.year), c.days);
  }
}

TEST(DateCompare, InvalidDatesComeFirstAndAreEqual) {
  const Date invalidLate = MakeDate(2, 30, 9999);  // large day number, still invalid
  const Date empty;
  const Date early = MakeDate(1, 1, 1000);
  const Date late = MakeDate(3, 5, 2003);
  const struct {
    const char* name;
    Date a, b;
    int expected;
  } cases[] = {
      {"invalid vs invalid", invalidLate, empty, 0},
      {"invalid vs valid", invalidLate, early, -1},
      {"valid vs invalid", early, empty, 1},
      {"earlier vs later", early, late, -1},
      {"later vs earlier", late, early, 1},
      {"same day", late, MakeDate(3, 5, 2003), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Date::Compare(c.a, c.b), c.expected);
  }
}

TEST(DateExpandYear, NearestCenturyToTheClock) {
  const struct {
    int clockYear, year, expected;
  } cases[] = {
      {2003, 99, 1999}, {2003, 5, 2005},    {2003, 53, 2053}, {2003, 54, 1954},
      {2003, 0, 2000},  {2003, 100, 2000},  {2003, 101, 101}, {2003, 2003, 2003},
      {2003, -5, 1995}, {2050, 0, 2100},    {2050, 1, 2001},  {2050, 99, 2099},
      {1999, 5, 2005},  {1999, 99, 1999},   {1999, 48, 2048}, {1999, 50, 1950},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + " in " + std::to_string(c.clockYear));
    FixedClock clock(InYear(c.clockYear));
    EXPECT_EQ(Date::ExpandYear(c.year), c.expected);
  }
}

TEST(DateSetMDYExpanded, ExpandsTwoDigitYearsOnly) {
  FixedClock clock(InYear(2003));
  Date d;
  d.SetMDYExpanded(12, 25, 3);
  EXPECT_EQ(MDY(d), "12/25/2003");
  EXPECT_EQ(d.dayNumber, MakeDate(12, 25, 2003).dayNumber);
  d.SetMDYExpanded(12, 25, 1703);
  EXPECT_EQ(MDY(d), "12/25/1703");
}

TEST(DateToday, ReadsTheClock) {
  FixedClock clock(FileStamp{2003, 3, 5, 23, 59, 59});
  Date today = Date::Today();
  EXPECT_EQ(MDY(today), "3/5/2003");
  EXPECT_EQ(today.dayNumber, 2452703);
  EXPECT_EQ(today.weekday, 4);
}

TEST(DateNames, ByIndexWithEmptyOutOfRange) {
  const Date d = MakeDate(3, 5, 2003);
  EXPECT_EQ(date_test::Text(d.WeekdayName()), "Wednesday");
  EXPECT_EQ(date_test::Text(d.MonthName()), "March");
  EXPECT_STREQ(WeekdayNameOf(1), "Sunday");
  EXPECT_STREQ(WeekdayNameOf(7), "Saturday");
  EXPECT_STREQ(MonthNameOf(1), "January");
  EXPECT_STREQ(MonthNameOf(12), "December");
  EXPECT_STREQ(WeekdayNameOf(0), "");
  EXPECT_STREQ(WeekdayNameOf(8), "");
  EXPECT_STREQ(MonthNameOf(0), "");
  EXPECT_STREQ(MonthNameOf(13), "");
  EXPECT_EQ(date_test::Text(Date().MonthName()), "");
}

}  // namespace
