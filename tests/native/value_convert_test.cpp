// Value: the text form of every kind, and conversion between kinds.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "core/value.h"
#include "date_test_support.h"
#include "value_test_support.h"

using namespace std::string_literals;
using value_test::Bytes;
using value_test::DateTimeValue;
using value_test::DateValue;
using value_test::Made;
using value_test::Real;
using value_test::Text;
using value_test::TimeValue;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ValueToText, GivesTheTextOfEveryKind) {
  Time midnight;
  midnight.Set(0, 0, 0);
  DateTime onlyTime;
  onlyTime.time = date_test::MakeTime(14, 7, 9);
  const struct {
    const char* name;
    Value value;
    std::string text;
  } cases[] = {
      {"empty", Value(), ""},
      {"bool true", Made([](Value& v) { v.SetBool(true); }), "1"},
      {"int8 -128", Made([](Value& v) { v.SetInt8(-128); }), "-128"},
      {"uint8 255", Made([](Value& v) { v.SetUInt8(255); }), "255"},
      {"uint32 max", Made([](Value& v) { v.SetUInt32(UINT32_MAX); }), "4294967295"},
      {"uint32B max", Made([](Value& v) { v.SetUInt32B(UINT32_MAX); }), "4294967295"},
      {"int64 min", value_test::Int64(INT64_MIN), "-9223372036854775808"},
      // The unsigned 64-bit kind is written as the signed number of its bits.
      {"uint64 max", Made([](Value& v) { v.SetUInt64(UINT64_MAX); }), "-1"},
      {"double 2.5", Real(2.5), "2.5"},
      {"double 3.0", Real(3.0), "3"},
      {"double -0.25", Real(-0.25), "-0.25"},
      {"double rounded to six decimals", Real(0.1234567), "0.123457"},
      {"double 1e15", Real(1e15), "1000000000000000"},
      {"double infinite", Real(-kInf), "-inf"},
      {"float 0.1", Made([](Value& v) { v.SetFloat(0.1f); }), "0.1"},
      {"text with NULs", Text("a\0b\0"s), "a\0b\0"s},
      {"date", DateValue(3, 5, 2003), "3/5/2003"},
      {"date before 1000", DateValue(1, 2, 99), "1/2/0099"},
      {"invalid date", DateValue(2, 29, 1900), ""},
      {"date and time", DateTimeValue(3, 5, 2003, 14, 7, 9), "3/5/2003 14:07:09"},
      {"date and midnight", DateTimeValue(12, 31, 1999, 0, 0, 0), "12/31/1999 00:00:00"},
      {"date and bad time", DateTimeValue(3, 5, 2003, 14, 7, 60), "3/5/2003"},
      {"bad date and time", DateTimeValue(2, 30, 2003, 14, 7, 9), "14:07:09"},
      {"time without date", Made([&](Value& v) { v.SetDateTime(onlyTime); }), "14:07:09"},
      {"bad date and bad time", DateTimeValue(0, 0, 0, -1, -1, -1), ""},
      {"time", TimeValue(14, 7, 9), "14:07:09"},
      {"time midnight", Made([&](Value& v) { v.SetTime(midnight); }), "00:00:00"},
      {"bad time", TimeValue(23, 59, 60), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Bytes(c.value.ToText()), c.text);
  }
}

// Calendar texts use fixed patterns, not the replaceable display defaults.
TEST(ValueToText, IgnoresTheDefaultFormats) {
  const String savedDate = DefaultDateFormat;
  const String savedDateTime = DefaultDateTimeFormat;
  const String savedTime = DefaultTimeFormat;
  DefaultDateFormat = "MM D";
  DefaultDateTimeFormat = "yy";
  DefaultTimeFormat = "h ap";
  EXPECT_EQ(Bytes(DateValue(3, 5, 2003).ToText()), "3/5/2003");
  EXPECT_EQ(Bytes(DateTimeValue(3, 5, 2003, 14, 7, 9).ToText()), "3/5/2003 14:07:09");
  EXPECT_EQ(Bytes(TimeValue(14, 7, 9).ToText()), "14:07:09");
  DefaultDateFormat = savedDate;
  DefaultDateTimeFormat = savedDateTime;
  DefaultTimeFormat = savedTime;
}

// One conversion per line: source, target, and the kind, storage and text of the result.
TEST(ValueConvertTo, ReadsWithTheTargetsReader) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    Value source;
    int32_t target;
    Value::StorageKind storage;
    std::string text;
  } cases[] = {
      {"text 12abc to int32", Text("12abc"), Value::kInt32, Value::kIntegerStorage, "12"},
      {"text abc to int32", Text("abc"), Value::kInt32, Value::kIntegerStorage, "0"},
      {"text ' 7' to int32", Text(" 7"), Value::kInt32, Value::kIntegerStorage, "0"},
      {"text A to int8", Text("A"), Value::kInt8, Value::kIntegerStorage, "65"},
      {"text A to uint8", Text("A"), Value::kUInt8, Value::kIntegerStorage, "0"},
      {"text 3.75 to double", Text("3.75"), Value::kDouble, Value::kRealStorage, "3.75"},
      {"text 3.75 to float", Text("3.75"), Value::kFloat, Value::kRealStorage, "3"},
      {"text no to bool", Text("no"), Value::kBool, Value::kIntegerStorage, "0"},
      {"text yes to bool", Text("yes"), Value::kBool, Value::kIntegerStorage, "1"},
      {"text 4294967295 to uint32", Text("4294967295"), Value::kUInt32, Value::kIntegerStorage,
       "4294967295"},
      {"text -1 to uint32B", Text("-1"), Value::kUInt32B, Value::kIntegerStorage, "4294967295"},
      {"text -1 to uint16", Text("-1"), Value::kUInt16, Value::kIntegerStorage, "65535"},
      {"text 300 to uint8", Text("300"), Value::kUInt8, Value::kIntegerStorage, "44"},
      {"text big to int64", Text("-9000000000"), Value::kInt64, Value::kIntegerStorage,
       "-9000000000"},
      {"text date to date", Text("March 5th, 2003"), Value::kDate, Value::kCalendarStorage,
       "3/5/2003"},
      {"text date and time", Text("3/5/2003 2:07:09pm"), Value::kDateTime,
       Value::kCalendarStorage, "3/5/2003 14:07:09"},
      {"text time to time", Text("2:07:09pm"), Value::kTime, Value::kCalendarStorage,
       "14:07:09"},
      {"text junk to date", Text("junk"), Value::kDate, Value::kCalendarStorage, ""},
      {"double 2.5 to text", Real(2.5), Value::kText, Value::kTextStorage, "2.5"},
      {"double 3.0 to text", Real(3.0), Value::kText, Value::kTextStorage, "3"},
      {"double -2.9 to int32", Real(-2.9), Value::kInt32, Value::kIntegerStorage, "-2"},
      {"double 65535 to uint16", Real(65535.0), Value::kUInt16, Value::kIntegerStorage, "65535"},
      {"double -1 to uint16", Real(-1.0), Value::kUInt16, Value::kIntegerStorage, "65535"},
      {"double 4294967295 to uint32", Real(4294967295.0), Value::kUInt32,
       Value::kIntegerStorage, "4294967295"},
      {"double 255.9 to int8", Real(255.9), Value::kInt8, Value::kIntegerStorage, "-1"},
      {"double NaN to int32", Real(nan), Value::kInt32, Value::kIntegerStorage, "0"},
      {"double 1e300 to int64", Real(1e300), Value::kInt64, Value::kIntegerStorage,
       "9223372036854775807"},
      {"double 1e300 to float", Real(1e300), Value::kFloat, Value::kRealStorage, "inf"},
      {"double 0.5 to bool", Real(0.5), Value::kBool, Value::kIntegerStorage, "1"},
      {"double to date", Real(2452703.0), Value::kDate, Value::kCalendarStorage, ""},
      {"int 300 to int8", value_test::Int32(300), Value::kInt8, Value::kIntegerStorage, "44"},
      {"int8 -128 to uint8", Made([](Value& v) { v.SetInt8(-128); }), Value::kUInt8,
       Value::kIntegerStorage, "128"},
      {"uint8 255 to int8", Made([](Value& v) { v.SetUInt8(255); }), Value::kInt8,
       Value::kIntegerStorage, "-1"},
      {"int 70000 to int16", value_test::Int32(70000), Value::kInt16, Value::kIntegerStorage,
       "4464"},
      {"int -1 to uint32", value_test::Int32(-1), Value::kUInt32, Value::kIntegerStorage,
       "4294967295"},
      {"int64 2^32 to bool", value_test::Int64(int64_t(1) << 32), Value::kBool,
       Value::kIntegerStorage, "1"},
      {"int 7 to double", value_test::Int32(7), Value::kDouble, Value::kRealStorage, "7"},
      {"int to text", value_test::Int32(-42), Value::kText, Value::kTextStorage, "-42"},
      {"int day number to date", value_test::Int32(2452703), Value::kDate,
       Value::kCalendarStorage, "3/5/2003"},
      {"uint32B day number to date", Made([](Value& v) { v.SetUInt32B(2452703); }),
       Value::kDate, Value::kCalendarStorage, ""},
      {"date to int32", DateValue(3, 5, 2003), Value::kInt32, Value::kIntegerStorage,
       "2452703"},
      {"date to int64", DateValue(3, 5, 2003), Value::kInt64, Value::kIntegerStorage,
       "2452703"},
      {"date to int16", DateValue(3, 5, 2003), Value::kInt16, Value::kIntegerStorage, "0"},
      {"date to text", DateValue(3, 5, 2003), Value::kText, Value::kTextStorage, "3/5/2003"},
      {"date to bool", DateValue(3, 5, 2003), Value::kBool, Value::kIntegerStorage, "1"},
      {"date to date and time", DateValue(3, 5, 2003), Value::kDateTime,
       Value::kCalendarStorage, "3/5/2003"},
      {"date and time to date", DateTimeValue(3, 5, 2003, 14, 7, 9), Value::kDate,
       Value::kCalendarStorage, "3/5/2003"},
      {"date and time to time", DateTimeValue(3, 5, 2003, 14, 7, 9), Value::kTime,
       Value::kCalendarStorage, "14:07:09"},
      {"time to date and time", TimeValue(14, 7, 9), Value::kDateTime, Value::kCalendarStorage,
       "14:07:09"},
      {"time to int32", TimeValue(14, 7, 9), Value::kInt32, Value::kIntegerStorage, "0"},
      {"empty to int32", Value(), Value::kInt32, Value::kIntegerStorage, "0"},
      {"empty to text", Value(), Value::kText, Value::kTextStorage, ""},
      {"empty to date", Value(), Value::kDate, Value::kCalendarStorage, ""},
      {"text to empty", Text("gone"), Value::kEmpty, Value::kNoStorage, ""},
      {"date to empty", DateValue(3, 5, 2003), Value::kEmpty, Value::kNoStorage, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Value value = c.source;
    value.ConvertTo(c.target);
    EXPECT_EQ(value.Type(), c.target);
    EXPECT_EQ(value.Storage(), c.storage);
    EXPECT_EQ(Bytes(value.ToText()), c.text);
  }
}

TEST(ValueConvertTo, FloatTargetRoundsToSinglePrecision) {
  Value value = Real(0.1);
  value.ConvertTo(Value::kFloat);
  EXPECT_EQ(value.ToDouble(), double(0.1f));
  value.ConvertTo(Value::kDouble);
  EXPECT_EQ(value.Type(), Value::kDouble);
  EXPECT_EQ(value.ToDouble(), double(0.1f));
}

TEST(ValueConvertTo, DateKeepsItsCalendarThroughText) {
  Value value = DateTimeValue(2, 29, 2000, 23, 59, 58);
  value.ConvertTo(Value::kText);
  value.ConvertTo(Value::kDateTime);
  EXPECT_EQ(value.ToDate().dayNumber, DateValue(2, 29, 2000).ToInt32());
  EXPECT_EQ(date_test::HMS(value.ToTime()), "23:59:58");
}

// The same kind, the unsigned 64-bit kind and numbers outside the kinds leave everything as it
// was: kind, storage and content.
TEST(ValueConvertTo, LeavesTheValueUnchanged) {
  const int32_t targets[] = {Value::kUInt64, Value::kLastKind + 1, 100, -1, INT32_MIN, INT32_MAX};
  const struct {
    const char* name;
    Value value;
    std::string text;
  } sources[] = {
      {"empty", Value(), ""},
      {"int32", value_test::Int32(-7), "-7"},
      {"uint64", Made([](Value& v) { v.SetUInt64(UINT64_MAX); }), "-1"},
      {"double", Real(2.75), "2.75"},
      {"text with NULs", Text("x\0y"s), "x\0y"s},
      {"date", DateValue(3, 5, 2003), "3/5/2003"},
      {"time", TimeValue(14, 7, 9), "14:07:09"},
  };
  for (const auto& s : sources) {
    SCOPED_TRACE(s.name);
    for (int32_t target : targets) {
      SCOPED_TRACE(target);
      Value value = s.value;
      value.ConvertTo(target);
      EXPECT_EQ(value.Type(), s.value.Type());
      EXPECT_EQ(value.Storage(), s.value.Storage());
      EXPECT_EQ(Bytes(value.ToText()), s.text);
    }
    Value same = s.value;
    same.ConvertTo(s.value.Type());
    EXPECT_EQ(same.Type(), s.value.Type());
    EXPECT_EQ(Bytes(same.ToText()), s.text);
  }
}

}  // namespace
