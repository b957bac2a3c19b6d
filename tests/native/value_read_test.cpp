// Value readers by storage kind: integer, real, text, calendar and none, into truth values,
// integers of each width, floating numbers and calendar values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "core/value.h"
#include "date_test_support.h"
#include "value_test_support.h"

using namespace std::string_literals;
using value_test::DateTimeValue;
using value_test::DateValue;
using value_test::Made;
using value_test::Real;
using value_test::Text;
using value_test::TimeValue;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr float kInfF = std::numeric_limits<float>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Integer storage: the narrow readers keep the low bits; 64 bits and floating readers the value.
TEST(ValueIntegerReaders, TakeLowBits) {
  const struct {
    int64_t stored;
    bool b;
    int8_t i8;
    uint8_t u8;
    int16_t i16;
    int32_t i32;
  } cases[] = {
      {0, false, 0, 0, 0, 0},
      {1, true, 1, 1, 1, 1},
      {-1, true, -1, 255, -1, -1},
      {127, true, 127, 127, 127, 127},
      {128, true, -128, 128, 128, 128},
      {-128, true, -128, 128, -128, -128},
      {-129, true, 127, 127, -129, -129},
      {255, true, -1, 255, 255, 255},
      {256, true, 0, 0, 256, 256},
      {300, true, 44, 44, 300, 300},
      {32767, true, -1, 255, 32767, 32767},
      {32768, true, 0, 0, -32768, 32768},
      {-32769, true, -1, 255, 32767, -32769},
      {65535, true, -1, 255, -1, 65535},
      {65536, true, 0, 0, 0, 65536},
      {2147483647, true, -1, 255, -1, 2147483647},
      {2147483648LL, true, 0, 0, 0, INT32_MIN},
      {4294967295LL, true, -1, 255, -1, -1},
      {4294967296LL, true, 0, 0, 0, 0},  // true although every narrow reader gives 0
      {4294967596LL, true, 44, 44, 300, 300},
      {INT64_MIN, true, 0, 0, 0, 0},
      {INT64_MAX, true, -1, 255, -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    Value value = value_test::Int64(c.stored);
    EXPECT_EQ(value.ToBool(), c.b);
    EXPECT_EQ(value.ToInt8(), c.i8);
    EXPECT_EQ(value.ToUInt8(), c.u8);
    EXPECT_EQ(value.ToInt16(), c.i16);
    EXPECT_EQ(value.ToInt32(), c.i32);
    EXPECT_EQ(value.ToInt64(), c.stored);
    EXPECT_EQ(value.ToFloat(), float(c.stored));
    EXPECT_EQ(value.ToDouble(), double(c.stored));
  }
}

// The readers go by storage, not by kind: every integer kind holding 200 reads alike.
TEST(ValueIntegerReaders, IgnoreTheDeclaredKind) {
  const Value values[] = {
      Made([](Value& v) { v.SetUInt8(200); }),  Made([](Value& v) { v.SetInt16(200); }),
      Made([](Value& v) { v.SetUInt16(200); }), Made([](Value& v) { v.SetInt32(200); }),
      Made([](Value& v) { v.SetUInt32(200); }), Made([](Value& v) { v.SetInt64(200); }),
      Made([](Value& v) { v.SetUInt64(200); }), Made([](Value& v) { v.SetUInt32B(200); }),
  };
  for (const Value& value : values) {
    SCOPED_TRACE(value.Type());
    EXPECT_EQ(value.ToInt8(), -56);
    EXPECT_EQ(value.ToUInt8(), 200);
    EXPECT_EQ(value.ToInt32(), 200);
    EXPECT_EQ(value.ToDouble(), 200.0);
  }
}

// Real storage truncates toward zero to 64 bits (NaN to 0, beyond the range to the nearest
// limit) and then narrows like an integer.
TEST(ValueRealReaders, TruncateTowardZeroThenTakeLowBits) {
  const struct {
    double stored;
    bool b;
    int8_t i8;
    uint8_t u8;
    int16_t i16;
    int32_t i32;
    int64_t i64;
  } cases[] = {
      {0.0, false, 0, 0, 0, 0, 0},
      {-0.0, false, 0, 0, 0, 0, 0},
      {0.9, true, 0, 0, 0, 0, 0},
      {-0.9, true, 0, 0, 0, 0, 0},
      {2.5, true, 2, 2, 2, 2, 2},
      {-2.5, true, -2, 254, -2, -2, -2},
      {127.9, true, 127, 127, 127, 127, 127},
      {128.5, true, -128, 128, 128, 128, 128},
      {-128.7, true, -128, 128, -128, -128, -128},
      {-129.5, true, 127, 127, -129, -129, -129},
      {255.9, true, -1, 255, 255, 255, 255},
      {256.0, true, 0, 0, 256, 256, 256},
      {65535.5, true, -1, 255, -1, 65535, 65535},
      {2147483647.9, true, -1, 255, -1, 2147483647, 2147483647},
      {2147483648.0, true, 0, 0, 0, INT32_MIN, 2147483648LL},
      {4294967296.0, true, 0, 0, 0, 0, 4294967296LL},
      {-4294967297.5, true, -1, 255, -1, -1, -4294967297LL},
      {1e18, true, 0, 0, 0, -1486618624, 1000000000000000000LL},
      {9223372036854774784.0, true, 0, 0, -1024, -1024, 9223372036854774784LL},
      {9223372036854775808.0, true, -1, 255, -1, -1, INT64_MAX},  // 2^63: just out of range
      {-9223372036854775808.0, true, 0, 0, 0, 0, INT64_MIN},      // -2^63: the limit itself
      {1e300, true, -1, 255, -1, -1, INT64_MAX},
      {-1e300, true, 0, 0, 0, 0, INT64_MIN},
      {kInf, true, -1, 255, -1, -1, INT64_MAX},
      {-kInf, true, 0, 0, 0, 0, INT64_MIN},
      {kNaN, true, 0, 0, 0, 0, 0},  // NaN is not 0.0, so true, but has no whole part
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    Value value = Real(c.stored);
    EXPECT_EQ(value.ToBool(), c.b);
    EXPECT_EQ(value.ToInt8(), c.i8);
    EXPECT_EQ(value.ToUInt8(), c.u8);
    EXPECT_EQ(value.ToInt16(), c.i16);
    EXPECT_EQ(value.ToInt32(), c.i32);
    EXPECT_EQ(value.ToInt64(), c.i64);
  }
}

TEST(ValueRealReaders, FloatingReadersGiveTheValue) {
  const struct {
    double stored;
    float f;
  } cases[] = {
      {2.5, 2.5f},
      {-0.1, -0.1f},
      {3.0e38, 3.0e38f},
      {-3.0e38, -3.0e38f},
      {1e39, kInfF},  // beyond the float range
      {-1e300, -kInfF},
      {kInf, kInfF},
      {1e-50, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    Value value = Real(c.stored);
    EXPECT_EQ(value.ToFloat(), c.f);
    EXPECT_EQ(value.ToDouble(), c.stored);
  }
  EXPECT_TRUE(std::isnan(Real(kNaN).ToFloat()));
  EXPECT_TRUE(std::isnan(Real(kNaN).ToDouble()));
}

// Text storage: the number at the very start of the text (no whitespace skipped). ToInt8 reads
// the first character's code; ToInt64 and ToDouble read with their own wider rules.
TEST(ValueTextReaders, ReadTheNumberAtTheStart) {
  const struct {
    std::string text;
    int8_t i8;
    uint8_t u8;
    int16_t i16;
    int32_t i32;
    int64_t i64;
    float f;
    double d;
  } cases[] = {
      {"12abc", '1', 12, 12, 12, 12, 12.0f, 12.0},
      {"abc", 'a', 0, 0, 0, 0, 0.0f, 0.0},
      {" 7", ' ', 0, 0, 0, 0, 0.0f, 0.0},
      {"A", 65, 0, 0, 0, 0, 0.0f, 0.0},
      {"", 0, 0, 0, 0, 0, 0.0f, 0.0},
      {"3.75", '3', 3, 3, 3, 3, 3.0f, 3.75},
      {"-3.75", '-', 253, -3, -3, -3, -3.0f, -3.75},
      {"+42", '+', 42, 42, 42, 42, 42.0f, 42.0},
      {"007", '0', 7, 7, 7, 7, 7.0f, 7.0},
      {"-", '-', 0, 0, 0, 0, 0.0f, 0.0},
      {"+-5", '+', 0, 0, 0, 0, 0.0f, 0.0},
      {"300", '3', 44, 300, 300, 300, 300.0f, 300.0},
      {"-129", '-', 127, -129, -129, -129, -129.0f, -129.0},
      {"65536", '6', 0, 0, 65536, 65536, 65536.0f, 65536.0},
      // The 8-, 16- and 32-bit readers and ToFloat read 32 bits, wrapping without a check.
      {"4294967295", '4', 255, -1, -1, 4294967295LL, -1.0f, 4294967295.0},
      {"4294967296", '4', 0, 0, 0, 4294967296LL, 0.0f, 4294967296.0},
      {"9223372036854775807", '9', 255, -1, -1, INT64_MAX, -1.0f, 9223372036854775807.0},
      {"9223372036854775808", '9', 0, 0, 0, INT64_MIN, 0.0f, 9223372036854775808.0},
      {"-9223372036854775808", '-', 0, 0, 0, INT64_MIN, 0.0f, -9223372036854775808.0},
      {"18446744073709551617", '1', 1, 1, 1, 1, 1.0f, 18446744073709551617.0},
      // Decimal forms: only ToDouble reads past the point; no exponent, no hexadecimal.
      {".5", '.', 0, 0, 0, 0, 0.0f, 0.5},
      {"-.5", '-', 0, 0, 0, 0, 0.0f, -0.5},
      {"5.", '5', 5, 5, 5, 5, 5.0f, 5.0},
      {".", '.', 0, 0, 0, 0, 0.0f, 0.0},
      {"-.", '-', 0, 0, 0, 0, 0.0f, 0.0},
      {"0.1", '0', 0, 0, 0, 0, 0.0f, 0.1},
      {"1.5e300", '1', 1, 1, 1, 1, 1.0f, 1.5},
      {"1e5", '1', 1, 1, 1, 1, 1.0f, 1.0},
      {"0x1A", '0', 0, 0, 0, 0, 0.0f, 0.0},
      {"inf", 'i', 0, 0, 0, 0, 0.0f, 0.0},
      {"3.75abc", '3', 3, 3, 3, 3, 3.0f, 3.75},
      {"1.2.3", '1', 1, 1, 1, 1, 1.0f, 1.2},
      {"123456789.123456789", '1', 21, -13035, 123456789, 123456789, 123456792.0f,
       123456789.123456789},
      // NUL bytes end the number like any other non-digit, and are never skipped.
      {"12\0" "34"s, '1', 12, 12, 12, 12, 12.0f, 12.0},
      {"1.5\0" "9"s, '1', 1, 1, 1, 1, 1.0f, 1.5},
      {"\0" "7"s, 0, 0, 0, 0, 0, 0.0f, 0.0},
      {"\xE9t\xE9", int8_t(0xE9), 0, 0, 0, 0, 0.0f, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Value value = Text(c.text);
    EXPECT_EQ(value.ToInt8(), c.i8);
    EXPECT_EQ(value.ToUInt8(), c.u8);
    EXPECT_EQ(value.ToInt16(), c.i16);
    EXPECT_EQ(value.ToInt32(), c.i32);
    EXPECT_EQ(value.ToInt64(), c.i64);
    EXPECT_EQ(value.ToFloat(), c.f);
    EXPECT_EQ(value.ToDouble(), c.d);
  }
}

TEST(ValueTextReaders, DoubleOfAHugeDigitRunIsInfinite) {
  EXPECT_EQ(Text("1" + std::string(400, '0')).ToDouble(), kInf);
  EXPECT_EQ(Text("-1" + std::string(400, '0') + ".5").ToDouble(), -kInf);
  EXPECT_EQ(Text("0." + std::string(400, '0') + "1").ToDouble(), 0.0);
}

TEST(ValueTextReaders, TruthFollowsTheTextRules) {
  const struct {
    const char* text;
    bool b;
  } cases[] = {
      {"yes", true}, {"no", false}, {"NO", false}, {"n", false},    {"false", false},
      {"f", false},  {"0", false},  {"", false},   {"  ", false},   {" no ", false},
      {"1", true},   {"true", true}, {"x", true},  {"none", true},  {"12abc", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Text(c.text).ToBool(), c.b);
  }
}

// Calendar storage: the 32- and 64-bit readers give the day number of the date part (whatever
// the kind and whether or not it is valid); the others give 0.
TEST(ValueCalendarReaders, GiveTheDayNumberOrZero) {
  const struct {
    const char* name;
    Value value;
    bool b;
    int32_t dayNumber;
  } cases[] = {
      {"date 5 March 2003", DateValue(3, 5, 2003), true, 2452703},
      {"date 1 January 2000", DateValue(1, 1, 2000), true, 2451544},
      {"date 29 February 1900 (invalid)", DateValue(2, 29, 1900), false, 2415079},
      {"date empty", Made([](Value& v) { v.SetDate(Date()); }), false, 0},
      {"date and time", DateTimeValue(3, 5, 2003, 14, 7, 9), true, 2452703},
      {"date and bad time", DateTimeValue(3, 5, 2003, 14, 60, 9), false, 2452703},
      {"time", TimeValue(14, 7, 9), true, 0},
      {"bad time", TimeValue(-1, 0, 0), false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value.ToBool(), c.b);
    EXPECT_EQ(c.value.ToInt8(), 0);
    EXPECT_EQ(c.value.ToUInt8(), 0);
    EXPECT_EQ(c.value.ToInt16(), 0);
    EXPECT_EQ(c.value.ToInt32(), c.dayNumber);
    EXPECT_EQ(c.value.ToInt64(), c.dayNumber);
    EXPECT_EQ(c.value.ToFloat(), 0.0f);
    EXPECT_EQ(c.value.ToDouble(), 0.0);
  }
}

TEST(ValueCalendarReaders, GiveTheirParts) {
  Value both = DateTimeValue(3, 5, 2003, 14, 7, 9);
  EXPECT_EQ(date_test::MDY(both.ToDate()), "3/5/2003");
  EXPECT_EQ(date_test::HMS(both.ToTime()), "14:7:9");
  DateTime whole = both.ToDateTime();
  EXPECT_EQ(whole.date.dayNumber, 2452703);
  EXPECT_EQ(date_test::HMS(whole.time), "14:7:9");

  DateTime fromDate = DateValue(3, 5, 2003).ToDateTime();
  EXPECT_EQ(fromDate.date.dayNumber, 2452703);
  date_test::ExpectEmpty(fromDate.time);

  DateTime fromTime = TimeValue(14, 7, 9).ToDateTime();
  date_test::ExpectEmpty(fromTime.date);
  EXPECT_EQ(date_test::HMS(fromTime.time), "14:7:9");
}

// Only the 32-bit and signed 64-bit kinds read as day numbers, through their low 32 bits.
TEST(ValueIntegerToDate, ReadsTheLow32BitsAsADayNumber) {
  const struct {
    const char* name;
    Value value;
    const char* mdy;
  } cases[] = {
      {"int32", value_test::Int32(2452703), "3/5/2003"},
      {"uint32", Made([](Value& v) { v.SetUInt32(2452703); }), "3/5/2003"},
      {"int64", value_test::Int64(2452703), "3/5/2003"},
      {"int64 above 2^32", value_test::Int64((int64_t(1) << 32) + 2451544), "1/1/2000"},
      {"int32 0", value_test::Int32(0), "0/0/0"},
      {"uint32B", Made([](Value& v) { v.SetUInt32B(2452703); }), "0/0/0"},
      {"uint16", Made([](Value& v) { v.SetUInt16(60000); }), "0/0/0"},
      {"uint64", Made([](Value& v) { v.SetUInt64(2452703); }), "0/0/0"},
      {"bool", Made([](Value& v) { v.SetBool(true); }), "0/0/0"},
      {"real", Real(2452703.0), "0/0/0"},
      {"empty", Value(), "0/0/0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(date_test::MDY(c.value.ToDate()), c.mdy);
    date_test::ExpectEmpty(c.value.ToTime());
    date_test::ExpectEmpty(c.value.ToDateTime().date);
  }
}

// Day numbers far outside the calendar's years are stored as they are, without faults.
TEST(ValueIntegerToDate, ExtremeDayNumbersAreKept) {
  const int32_t numbers[] = {1, -1, INT32_MIN, INT32_MAX, 5373484};
  for (int32_t n : numbers) {
    SCOPED_TRACE(n);
    EXPECT_EQ(value_test::Int32(n).ToDate().dayNumber, n);
  }
}

class ValueTextToCalendar : public ::testing::Test {
 protected:
  date_test::FixedClock clock_{date_test::InYear(2003)};
};

TEST_F(ValueTextToCalendar, DatesParseMonthFirstWithYearExpansion) {
  const struct {
    const char* text;
    const char* mdy;
  } cases[] = {
      {"3/5/2003", "3/5/2003"},
      {"12-25-03", "12/25/2003"},
      {"1/2/99", "1/2/1999"},
      {"Monday, March 3rd, 2003", "3/3/2003"},
      {"25 Dec 2003", "12/25/2003"},
      {"3/2003", "3/1/2003"},
      {"3/5/2003 14:07:09", "3/5/2003"},
      {"garbage", "0/0/0"},
      {"", "0/0/0"},
      {"0/5/2003", "0/0/0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(date_test::MDY(Text(c.text).ToDate()), c.mdy);
  }
  EXPECT_EQ(Text("3/5/2003").ToDate().dayNumber, 2452703);
  EXPECT_TRUE(Text("13/45/2003").ToDate().IsInvalid());
}

TEST_F(ValueTextToCalendar, TimesParseWithTheirOwnRules) {
  const struct {
    const char* text;
    const char* hms;
  } cases[] = {
      {"1:05pm", "13:5:0"},
      {"12:30am", "12:30:0"},
      {"14:07:09", "14:7:9"},
      {" 9:15:30 PM", "21:15:30"},
      {"x1:00", "-1:-1:-1"},
      {"", "-1:-1:-1"},
      {"3/5/2003 14:07:09", "-1:-1:-1"},  // the date's digits are no time
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(date_test::HMS(Text(c.text).ToTime()), c.hms);
  }
  EXPECT_TRUE(Text("25:00").ToTime().IsInvalid());
}

TEST_F(ValueTextToCalendar, DatesAndTimesParseTogether) {
  const struct {
    const char* text;
    const char* mdy;
    const char* hms;
  } cases[] = {
      {"3/5/2003 14:07:09", "3/5/2003", "14:7:9"},
      {"March 5th, 2003, 2:07pm", "3/5/2003", "14:7:0"},
      {"3/5/2003", "3/5/2003", "-1:-1:-1"},
      {"14:07", "0/0/0", "14:7:0"},
      {"nothing", "0/0/0", "-1:-1:-1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    DateTime dateTime = Text(c.text).ToDateTime();
    EXPECT_EQ(date_test::MDY(dateTime.date), c.mdy);
    EXPECT_EQ(date_test::HMS(dateTime.time), c.hms);
  }
}

TEST(ValueNumberToCalendar, RealsAndTextlessKindsGiveEmptyCalendars) {
  const Value values[] = {Real(2452703.5), value_test::Int32(2452703), Value()};
  for (const Value& value : values) {
    SCOPED_TRACE(value.Type());
    date_test::ExpectEmpty(value.ToTime());
    DateTime dateTime = value.ToDateTime();
    date_test::ExpectEmpty(dateTime.date);
    date_test::ExpectEmpty(dateTime.time);
  }
}

}  // namespace
