// Format of Date, Time and DateTime: every code, doubled and single letters, the codes each
// formatter knows, and the replaceable default patterns.
#include <gtest/gtest.h>

#include <string>

#include "core/date_time.h"
#include "date_test_support.h"

using namespace std::string_literals;
using date_test::FixedClock;
using date_test::MakeDate;
using date_test::MakeTime;
using date_test::Text;

namespace {

DateTime MakeDateTime(int month, int day, int year, int hour, int minute, int second) {
  DateTime dt;
  dt.date = MakeDate(month, day, year);
  dt.time = MakeTime(hour, minute, second);
  return dt;
}

// Wednesday, 5 March 2003, 14:07:09.
const DateTime kSample = MakeDateTime(3, 5, 2003, 14, 7, 9);

TEST(DateTimeFormat, EveryCode) {
  const struct {
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"d", "5"},        {"dd", "05"},       {"D", "5th"},          {"DD", "Fifth"},
      {"m", "3"},        {"mm", "03"},       {"M", "Mar"},          {"MM", "March"},
      {"w", "4"},        {"ww", "04"},       {"W", "Wed"},          {"WW", "Wednesday"},
      {"y", "03"},       {"yy", "2003"},     {"Y", "Oh Three"},     {"YY", "Two Thousand Three"},
      {"h", "2"},        {"hh", "02"},       {"H", "14"},           {"HH", "14"},
      {"i", "7"},        {"ii", "07"},       {"s", "9"},            {"ss", "09"},
      {"AP", "p.m."},    {"ap", "p"},        {"A", "A"},            {"a", "a"},
      {"P", "P"},        {"p", "p"},         {"Ap", "Ap"},          {"aP", "aP"},
      {"ddd", "055"},    {"MMM", "MarchMar"}, {"x-%d", "x-%5"},     {"", "3/5/03 2:07:09p"},
      {"m/d/yy HH:ii:ss", "3/5/2003 14:07:09"},
      {"m/d/y h:ii:ssap", "3/5/03 2:07:09p"},
      {"d-M-yy h:ii:ssap", "5-Mar-2003 2:07:09p"},
      {"WW, MM D, yy at hh:ii AP", "Wednesday, March 5th, 2003 at 02:07 p.m."},
      {"DD of MM, YY", "Fifth of March, Two Thousand Three"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Text(kSample.Format(c.pattern)), c.expected);
  }
}

TEST(DateTimeFormat, PatternBytesAfterANulAreCopied) {
  const std::string pattern = "d\0m"s;
  EXPECT_EQ(Text(kSample.Format(String(pattern.data(), int(pattern.size())))), "5\0" "3"s);
}

TEST(DateFormat, KnowsOnlyDateCodes) {
  const struct {
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"MM D, yy", "March 5th, 2003"},
      {"m/d/yy h:ii:ss AP ap", "3/5/2003 h:ii:ss AP ap"},
      {"HH", "HH"},
      {"", "3/5/03"},
      {"WW ww", "Wednesday 04"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Text(kSample.date.Format(c.pattern)), c.expected);
  }
}

TEST(TimeFormat, KnowsOnlyTimeCodes) {
  const struct {
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"", "2:07:09p"},
      {"HH:ii:ss", "14:07:09"},
      {"h AP", "2 p.m."},
      {"d/m/y", "d/m/y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Text(kSample.time.Format(c.pattern)), c.expected);
  }
}

TEST(DateFormat, DaysAsOrdinals) {
  const struct {
    int day;
    const char* shortOrdinal;
    const char* words;
  } cases[] = {
      {1, "1st", "First"},      {2, "2nd", "Second"},       {3, "3rd", "Third"},
      {4, "4th", "Fourth"},     {11, "11th", "Eleventh"},   {12, "12th", "Twelfth"},
      {13, "13th", "Thirteenth"}, {20, "20th", "Twentieth"}, {21, "21st", "Twenty First"},
      {22, "22nd", "Twenty Second"}, {23, "23rd", "Twenty Third"}, {30, "30th", "Thirtieth"},
      {31, "31st", "Thirty First"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.day);
    const Date d = MakeDate(1, c.day, 2003);
    EXPECT_EQ(Text(d.Format("D")), c.shortOrdinal);
    EXPECT_EQ(Text(d.Format("DD")), c.words);
  }
}

TEST(DateFormat, YearsInDigitsAndWords) {
  const struct {
    int year;
    const char* y;
    const char* yy;
    const char* words;
  } cases[] = {
      {2003, "03", "2003", "Oh Three"},
      {1999, "99", "1999", "Ninety Nine"},
      {1910, "10", "1910", "Ten"},
      {2000, "00", "2000", "Oh Zero"},
      {987, "87", "0987", "Eighty Seven"},
      {5, "05", "0005", "Oh Five"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.year);
    const Date d = MakeDate(6, 1, c.year);
    EXPECT_EQ(Text(d.Format("y")), c.y);
    EXPECT_EQ(Text(d.Format("yy")), c.yy);
    EXPECT_EQ(Text(d.Format("Y")), c.words);
  }
  EXPECT_EQ(Text(MakeDate(6, 1, 1999).Format("YY")), "Nineteen Ninety Nine");
  EXPECT_EQ(Text(MakeDate(6, 1, 1905).Format("YY")), "Nineteen Oh Five");
}

TEST(DateTimeFormat, TwelveHourClockAndHalfDays) {
  const struct {
    int hour;
    const char* expected;  // "h hh H HH AP ap"
  } cases[] = {
      {0, "12 12 0 00 a.m. a"},   {1, "1 01 1 01 a.m. a"},    {11, "11 11 11 11 a.m. a"},
      {12, "12 12 12 12 p.m. p"}, {13, "1 01 13 13 p.m. p"},  {23, "11 11 23 23 p.m. p"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hour);
    EXPECT_EQ(Text(MakeDateTime(3, 5, 2003, c.hour, 0, 0).Format("h hh H HH AP ap")),
              c.expected);
  }
}

TEST(DateTimeFormat, EmptyValuesPrintTheirFields) {
  EXPECT_EQ(Text(DateTime().Format("")), "0/0/00 -1:-1:-1a");
  EXPECT_EQ(Text(Date().Format("M|MM|W|WW|D")), "||||0th");
}

// Restores the default patterns a test replaces.
class DefaultFormatTest : public testing::Test {
 protected:
  void TearDown() override {
    DefaultDateFormat = saved_[0];
    DefaultDateTimeFormat = saved_[1];
    DefaultTimeFormat = saved_[2];
  }
  const String saved_[3] = {DefaultDateFormat, DefaultDateTimeFormat, DefaultTimeFormat};
};

TEST_F(DefaultFormatTest, InitialDefaults) {
  EXPECT_EQ(Text(DefaultDateFormat), "m/d/y");
  EXPECT_EQ(Text(DefaultDateTimeFormat), "m/d/y h:ii:ssap");
  EXPECT_EQ(Text(DefaultTimeFormat), "h:ii:ssap");
}

TEST_F(DefaultFormatTest, ReplacedDefaultsApplyToEmptyPatterns) {
  DefaultDateFormat = "dd.mm.yy";
  DefaultDateTimeFormat = "yy-mm-dd HH:ii";
  DefaultTimeFormat = "HH.ii";
  EXPECT_EQ(Text(kSample.date.Format("")), "05.03.2003");
  EXPECT_EQ(Text(kSample.Format("")), "2003-03-05 14:07");
  EXPECT_EQ(Text(kSample.time.Format("")), "14.07");
  EXPECT_EQ(Text(kSample.Format("d")), "5");
}

TEST(DateTimeFormatNow, FormatsTheClockReading) {
  FixedClock clock(FileStamp{2003, 3, 5, 14, 7, 9});
  EXPECT_EQ(Text(DateTime::FormatNow("m/d/yy HH:ii:ss")), "3/5/2003 14:07:09");
  EXPECT_EQ(Text(DateTime::FormatNow("")), "3/5/03 2:07:09p");
}

}  // namespace
