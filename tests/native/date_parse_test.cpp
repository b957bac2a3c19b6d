// Date::Parse, ParseExpanded, Time::Parse and DateTime::Parse: every written form, malformed
// texts, start positions and the bounds of the text.
#include <gtest/gtest.h>

#include <string>

#include "core/date_time.h"
#include "date_test_support.h"

using namespace std::string_literals;
using date_test::ExpectEmpty;
using date_test::FixedClock;
using date_test::HMS;
using date_test::InYear;
using date_test::MakeDate;
using date_test::MakeTime;
using date_test::MDY;

namespace {

String Bytes(const std::string& s) { return String(s.data(), int(s.size())); }

TEST(DateParse, ReadsEveryForm) {
  const struct {
    const char* text;
    bool dayFirst;
    const char* expected;  // m/d/y
    int end;
  } cases[] = {
      {"Monday, March 3rd, 2003", false, "3/3/2003", 23},
      {"March 2nd, 2003", false, "3/2/2003", 15},
      {"Mar 3 2003", false, "3/3/2003", 10},
      {"MARCH 3RD 2003", false, "3/3/2003", 14},
      {"saturday, january 1st, 2000", false, "1/1/2000", 27},
      {"Sat 1 January 2000", false, "1/1/2000", 18},
      {"Tue 3/4/2003", false, "3/4/2003", 12},
      {"March 3, 2003, 10:30", false, "3/3/2003", 13},
      {"March 2003", false, "3/1/2003", 10},
      {"March 2003 10:30", false, "3/1/2003", 10},  // the 10 belongs to the time
      {"March 3rd", false, "3/1/3", 7},             // no year: month and year
      {"3/2/2003", false, "3/2/2003", 8},
      {"3/2/2003", true, "2/3/2003", 8},
      {"25/12/2003", true, "12/25/2003", 10},
      {"3.2.2003", false, "3/2/2003", 8},
      {"3-2-2003", false, "3/2/2003", 8},
      {"3-2/2003", false, "3/2/2003", 8},
      {"12-25-03", false, "12/25/3", 8},  // the year as written
      {"  3/2/2003 ", false, "3/2/2003", 10},
      {"3 /2/2003", false, "3/2/2003", 9},
      {"1/2/3/4", false, "1/2/3", 5},
      {"3/2003", false, "3/1/2003", 6},
      {"3/2003", true, "3/1/2003", 6},  // month and year are never swapped
      {"3/2003 10:30", false, "3/1/2003", 6},
      {"25 Dec 2003", false, "12/25/2003", 11},
      {"25-Dec-03", false, "12/25/3", 9},
      {"25Dec2003", false, "12/25/2003", 9},
      {"25 december 2003", false, "12/25/2003", 16},
      {"13/45/2003", false, "13/45/2003", 10},  // read, but no real day
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + (c.dayFirst ? " (day first)" : ""));
    Date d;
    EXPECT_EQ(d.Parse(c.text, c.dayFirst), c.end);
    EXPECT_EQ(MDY(d), c.expected);
    Date reference = MakeDate(d.month, d.day, d.year);
    EXPECT_EQ(d.dayNumber, reference.dayNumber);
    EXPECT_EQ(d.weekday, reference.weekday);
  }
}

TEST(DateParse, ComputesADayNumber) {
  Date d;
  ASSERT_EQ(d.Parse("Wednesday, March 5th, 2003", false), 26);
  EXPECT_EQ(d.dayNumber, 2452703);
  EXPECT_EQ(d.weekday, 4);
  EXPECT_FALSE(d.IsInvalid());
  ASSERT_GE(d.Parse("2/29/1900", false), 0);
  EXPECT_TRUE(d.IsInvalid());
  ASSERT_GE(d.Parse("2/29/2000", false), 0);
  EXPECT_FALSE(d.IsInvalid());
}

TEST(DateParse, MalformedTextsFailAndEmptyTheDate) {
  const std::string cases[] = {
      "",          "   ",          "0/5/2003",    "3/0/2003",    "3 2 2003", "3/ 2/2003",
      "3",         "3/",           "/3/2003",     "3/x/2003",    "abc",      "Foo 3, 2003",
      "13 Foo 2003", "March",      "March 0",     "March x",     "Monday",   "Wed,",
      "Sept 3 2003", "12:30",      "1:05pm",      "0",           "-",        "\t\r\n",
      "3\0/2/2003"s,
  };
  for (const auto& text : cases) {
    SCOPED_TRACE(text);
    Date d = MakeDate(3, 5, 2003);
    EXPECT_EQ(d.Parse(Bytes(text), false), -1);
    ExpectEmpty(d);
  }
}

TEST(DateParse, StartsAtTheGivenPosition) {
  const String text = "due 3/2/2003";
  Date d;
  EXPECT_EQ(d.Parse(text, false, 4), 12);
  EXPECT_EQ(MDY(d), "3/2/2003");
  EXPECT_EQ(d.Parse(text, false, 3), 12);  // leading whitespace is skipped
  EXPECT_EQ(d.Parse(text, false, 12), -1);
  EXPECT_EQ(d.Parse(text, false, 13), -1);
  EXPECT_EQ(d.Parse(text, false, -1), -1);
  ExpectEmpty(d);
}

TEST(DateParse, EveryPrefixStaysWithinTheText) {
  // Cut anywhere, a date text parses to something that ends inside the cut, or fails empty.
  const char* texts[] = {
      "Monday, March 3rd, 2003", "25-Dec-2003", "12/25/2003 10:30", "March 2003 10:30",
      "Sat 1 January 2000",
  };
  for (const char* full : texts) {
    const std::string text = full;
    for (size_t n = 0; n <= text.size(); ++n) {
      SCOPED_TRACE(text.substr(0, n));
      Date d;
      int end = d.Parse(Bytes(text.substr(0, n)), false);
      EXPECT_LE(end, int(n));
      if (end < 0) ExpectEmpty(d);
    }
  }
}

TEST(DateParse, NulBytesAreOrdinaryCharacters) {
  // Counted texts may hold NULs; they end neither the text nor the search for a separator.
  Date d;
  EXPECT_EQ(d.Parse(Bytes("3/2\0/2003"s), false), 3);
  EXPECT_EQ(MDY(d), "3/1/2");
  EXPECT_EQ(d.Parse(Bytes("\0 3/2/2003"s), false), -1);
}

TEST(DateParseExpanded, ExpandsTwoDigitYears) {
  FixedClock clock(InYear(2003));
  const struct {
    const char* text;
    bool dayFirst;
    const char* expected;
  } cases[] = {
      {"12-25-03", false, "12/25/2003"},
      {"3/5/99", false, "3/5/1999"},
      {"5/3/53", true, "3/5/2053"},
      {"March 3rd, 54", false, "3/3/1954"},
      {"3/100", false, "3/1/2000"},
      {"25 Dec 2003", false, "12/25/2003"},
      {"1/1/101", false, "1/1/101"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Date d;
    EXPECT_GE(d.ParseExpanded(c.text, c.dayFirst), 0);
    EXPECT_EQ(MDY(d), c.expected);
    EXPECT_EQ(d.dayNumber, MakeDate(d.month, d.day, d.year).dayNumber);
  }
  Date d = MakeDate(1, 1, 2000);
  EXPECT_EQ(d.ParseExpanded("nothing", false), -1);
  ExpectEmpty(d);
}

TEST(TimeParse, ReadsHoursMinutesSecondsAndHalfDays) {
  const struct {
    const char* text;
    bool valid;
    const char* expected;  // h:m:s as stored
  } cases[] = {
      {"1:05pm", true, "13:5:0"},
      {"12:30am", true, "12:30:0"},  // "am" never changes the hour
      {"12:30pm", true, "12:30:0"},
      {"0:15 am", true, "0:15:0"},
      {"11:59:59 PM", true, "23:59:59"},
      {"1:05:07p", true, "13:5:7"},
      {"1:05 P.M.", true, "13:5:0"},
      {"13:05", true, "13:5:0"},
      {"13:05pm", true, "13:5:0"},
      {"  7:08:09", true, "7:8:9"},
      {"7:08:09 and more", true, "7:8:9"},
      {"1:5", true, "1:5:0"},
      {"24:00", false, "24:0:0"},
      {"12:60", false, "12:60:0"},
      {"1:05:60", false, "1:5:60"},
      {"11:-5", false, "11:-5:0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Time t;
    EXPECT_EQ(t.Parse(c.text), c.valid);
    EXPECT_EQ(HMS(t), c.expected);
  }
}

TEST(TimeParse, TextsWithoutATimeFailAndEmptyTheTime) {
  const std::string cases[] = {"", "   ", "pm", "7", "7.30", "7 :30", "x1:00", "-1:00", "+1:00",
                               "\0" "1:00"s};
  for (const auto& text : cases) {
    SCOPED_TRACE(text);
    Time t = MakeTime(10, 20, 30);
    EXPECT_FALSE(t.Parse(Bytes(text)));
    ExpectEmpty(t);
  }
}

TEST(TimeParse, StartsAtTheGivenPosition) {
  const String text = "at 9:15";
  Time t;
  EXPECT_TRUE(t.Parse(text, 3));
  EXPECT_EQ(HMS(t), "9:15:0");
  EXPECT_FALSE(t.Parse(text, 8));
  EXPECT_FALSE(t.Parse(text, -2));
  ExpectEmpty(t);
}

TEST(TimeParse, EveryPrefixIsSafe) {
  const std::string text = "11:59:59 PM";
  for (size_t n = 0; n <= text.size(); ++n) {
    SCOPED_TRACE(text.substr(0, n));
    Time t;
    bool valid = t.Parse(Bytes(text.substr(0, n)));
    // From "11:" on (a missing minute reads as 0, like every missing number) the time is
    // valid; "11:59:59 P" already has its afternoon.
    EXPECT_EQ(valid, n >= 3);
    EXPECT_EQ(t.hour, n >= 10 ? 23 : n >= 3 ? 11 : -1);
  }
}

TEST(DateTimeParse, DateThenTimeOrTimeAlone) {
  const struct {
    const char* text;
    bool dayFirst;
    bool result;
    const char* date;  // m/d/y as stored; "0/0/0" when empty
    const char* time;  // h:m:s as stored; "-1:-1:-1" when empty
  } cases[] = {
      {"3/5/2003 14:07:09", false, true, "3/5/2003", "14:7:9"},
      {"3/5/2003, 2:07pm", false, true, "3/5/2003", "14:7:0"},
      {"3/5/2003,2:07pm", false, true, "3/5/2003", "14:7:0"},
      {"5/3/2003 9:00", true, true, "3/5/2003", "9:0:0"},
      {"March 5th, 2003 10:30", false, true, "3/5/2003", "10:30:0"},
      {"March 2003 10:30", false, true, "3/1/2003", "10:30:0"},
      {"Wed, 5 Mar 2003 23:59:59", false, true, "3/5/2003", "23:59:59"},
      {"3/5/03 1:00", false, true, "3/5/3", "1:0:0"},  // no year expansion
      {"1:05pm", false, true, "0/0/0", "13:5:0"},
      {"3/5/2003", false, true, "3/5/2003", "-1:-1:-1"},
      {"3/5/2003 noon", false, true, "3/5/2003", "-1:-1:-1"},
      {"3/5/2003 25:00", false, true, "3/5/2003", "25:0:0"},
      {"25:00", false, false, "0/0/0", "25:0:0"},
      {"hello", false, false, "0/0/0", "-1:-1:-1"},
      {"", false, false, "0/0/0", "-1:-1:-1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    DateTime dt;
    dt.date = MakeDate(1, 1, 1999);
    dt.time = MakeTime(1, 1, 1);
    EXPECT_EQ(dt.Parse(c.text, c.dayFirst), c.result);
    EXPECT_EQ(MDY(dt.date), c.date);
    EXPECT_EQ(HMS(dt.time), c.time);
    if (std::string(c.date) == "0/0/0") ExpectEmpty(dt.date);
  }
}

}  // namespace
