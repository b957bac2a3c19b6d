// Value: construction, the setters with their kinds and storage, Clear, IsZero and TextRef.
#include <gtest/gtest.h>

#include <cmath>
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

TEST(ValueNew, IsEmptyWithEmptyTextAndCalendar) {
  Value value;
  EXPECT_EQ(value.Type(), Value::kEmpty);
  EXPECT_EQ(value.Storage(), Value::kNoStorage);
  EXPECT_TRUE(value.IsEmpty());
  EXPECT_FALSE(value.IsInteger());
  EXPECT_TRUE(value.IsZero());
  EXPECT_FALSE(value.ToBool());
  EXPECT_EQ(value.ToInt64(), 0);
  EXPECT_EQ(value.ToDouble(), 0.0);
  EXPECT_EQ(Bytes(value.ToText()), "");
  date_test::ExpectEmpty(value.ToDate());
  date_test::ExpectEmpty(value.ToTime());
  DateTime dateTime = value.ToDateTime();
  date_test::ExpectEmpty(dateTime.date);
  date_test::ExpectEmpty(dateTime.time);
}

// Every integer kind lands in the one 64-bit field: signed kinds sign-extended, unsigned kinds
// zero-extended, the unsigned 64-bit kind as its bit pattern.
TEST(ValueSetters, IntegerKindsStoreExtendedValues) {
  const struct {
    const char* name;
    Value value;
    int32_t type;
    int64_t stored;
  } cases[] = {
      {"bool true", Made([](Value& v) { v.SetBool(true); }), Value::kBool, 1},
      {"bool false", Made([](Value& v) { v.SetBool(false); }), Value::kBool, 0},
      {"int8 -128", Made([](Value& v) { v.SetInt8(-128); }), Value::kInt8, -128},
      {"int8 127", Made([](Value& v) { v.SetInt8(127); }), Value::kInt8, 127},
      {"uint8 255", Made([](Value& v) { v.SetUInt8(255); }), Value::kUInt8, 255},
      {"int16 -32768", Made([](Value& v) { v.SetInt16(-32768); }), Value::kInt16, -32768},
      {"uint16 65535", Made([](Value& v) { v.SetUInt16(65535); }), Value::kUInt16, 65535},
      {"int32 min", Made([](Value& v) { v.SetInt32(INT32_MIN); }), Value::kInt32, INT32_MIN},
      {"uint32 max", Made([](Value& v) { v.SetUInt32(UINT32_MAX); }), Value::kUInt32,
       4294967295LL},
      {"int64 min", Made([](Value& v) { v.SetInt64(INT64_MIN); }), Value::kInt64, INT64_MIN},
      {"int64 max", Made([](Value& v) { v.SetInt64(INT64_MAX); }), Value::kInt64, INT64_MAX},
      {"uint64 max", Made([](Value& v) { v.SetUInt64(UINT64_MAX); }), Value::kUInt64, -1},
      {"uint64 2^63", Made([](Value& v) { v.SetUInt64(uint64_t(1) << 63); }), Value::kUInt64,
       INT64_MIN},
      {"uint32B max", Made([](Value& v) { v.SetUInt32B(UINT32_MAX); }), Value::kUInt32B,
       4294967295LL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value.Type(), c.type);
    EXPECT_EQ(c.value.Storage(), Value::kIntegerStorage);
    EXPECT_TRUE(c.value.IsInteger());
    EXPECT_FALSE(c.value.IsEmpty());
    EXPECT_EQ(c.value.ToInt64(), c.stored);
  }
}

TEST(ValueSetters, FloatKeepsSinglePrecisionAndDoubleKeepsDouble) {
  Value single;
  single.SetFloat(0.1f);
  EXPECT_EQ(single.Type(), Value::kFloat);
  EXPECT_EQ(single.Storage(), Value::kRealStorage);
  EXPECT_FALSE(single.IsInteger());
  EXPECT_EQ(single.ToDouble(), double(0.1f));
  EXPECT_NE(single.ToDouble(), 0.1);

  Value full = Real(0.1);
  EXPECT_EQ(full.Type(), Value::kDouble);
  EXPECT_EQ(full.Storage(), Value::kRealStorage);
  EXPECT_EQ(full.ToDouble(), 0.1);
}

TEST(ValueSetters, TextFormsKeepTheirBytes) {
  const char raw[] = {'a', '\0', 'b', '\0'};
  const struct {
    const char* name;
    Value value;
    std::string expected;
  } cases[] = {
      {"String with NULs", Made([](Value& v) { v.SetText(String("x\0y\0", 4)); }), "x\0y\0"s},
      {"NUL-terminated stops at NUL", Made([](Value& v) { v.SetText("ab\0cd"); }), "ab"},
      {"bytes keep NULs", Made([&](Value& v) { v.SetText(raw, 4); }), "a\0b\0"s},
      {"bytes, only a NUL", Made([&](Value& v) { v.SetText(raw + 1, 1); }), "\0"s},
      {"null text", Made([](Value& v) { v.SetText(static_cast<const char*>(nullptr)); }), ""},
      {"null bytes", Made([](Value& v) { v.SetText(nullptr, 5); }), ""},
      {"zero count", Made([&](Value& v) { v.SetText(raw, 0); }), ""},
      {"negative count", Made([&](Value& v) { v.SetText(raw, -1); }), ""},
      {"replaces an integer", Made([](Value& v) { v.SetInt32(5); v.SetText("t"); }), "t"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value.Type(), Value::kText);
    EXPECT_EQ(c.value.Storage(), Value::kTextStorage);
    EXPECT_EQ(Bytes(c.value.ToText()), c.expected);
  }
}

TEST(ValueSetters, TextFromItsOwnTextIsKept) {
  Value value = Text("self\0copy"s);
  value.SetText(value.TextRef());
  EXPECT_EQ(Bytes(value.ToText()), "self\0copy"s);
}

TEST(ValueSetters, CalendarKindsKeepOnlyTheirParts) {
  Value date = DateValue(3, 5, 2003);
  EXPECT_EQ(date.Type(), Value::kDate);
  EXPECT_EQ(date.Storage(), Value::kCalendarStorage);
  EXPECT_EQ(date.ToDate().dayNumber, 2452703);
  EXPECT_EQ(date.ToDate().weekday, 4);  // a Wednesday
  date_test::ExpectEmpty(date.ToTime());

  Value time = TimeValue(14, 7, 9);
  EXPECT_EQ(time.Type(), Value::kTime);
  EXPECT_EQ(time.Storage(), Value::kCalendarStorage);
  EXPECT_EQ(date_test::HMS(time.ToTime()), "14:7:9");
  date_test::ExpectEmpty(time.ToDate());

  Value both = DateTimeValue(3, 5, 2003, 14, 7, 9);
  EXPECT_EQ(both.Type(), Value::kDateTime);
  EXPECT_EQ(both.Storage(), Value::kCalendarStorage);
  EXPECT_EQ(both.ToDate().dayNumber, 2452703);
  EXPECT_EQ(date_test::HMS(both.ToTime()), "14:7:9");

  // A date set over a date and time drops the old time, and a time drops the old date.
  Value reused = both;
  reused.SetDate(date_test::MakeDate(1, 1, 2000));
  EXPECT_EQ(reused.ToDate().dayNumber, 2451544);
  date_test::ExpectEmpty(reused.ToTime());
  reused = both;
  reused.SetTime(date_test::MakeTime(1, 2, 3));
  date_test::ExpectEmpty(reused.ToDate());
  EXPECT_EQ(date_test::HMS(reused.ToTime()), "1:2:3");
}

TEST(ValueSetters, CalendarFieldFormsStoreYearsAsGiven) {
  date_test::FixedClock clock(date_test::InYear(2003));
  EXPECT_EQ(date_test::MDY(DateValue(1, 2, 99).ToDate()), "1/2/99");
  EXPECT_EQ(date_test::MDY(DateTimeValue(1, 2, 5, 0, 0, 0).ToDate()), "1/2/5");

  DateTime whole;
  whole.date = date_test::MakeDate(12, 31, 1999);
  whole.time = date_test::MakeTime(23, 59, 59);
  Value value;
  value.SetDateTime(whole);
  EXPECT_EQ(DateTime::Compare(value.ToDateTime(), whole), 0);
  EXPECT_EQ(date_test::HMS(value.ToDateTime().time), "23:59:59");
}

TEST(ValueClear, EmptiesAndReleasesTheText) {
  Value value = Text("a longer text that needs a buffer");
  value.Clear();
  EXPECT_EQ(value.Type(), Value::kEmpty);
  EXPECT_EQ(value.Storage(), Value::kNoStorage);
  EXPECT_TRUE(value.IsEmpty());
  EXPECT_FALSE(value.TextRef().HasBuffer());

  value = DateValue(3, 5, 2003);
  value.Clear();
  EXPECT_TRUE(value.IsEmpty());
  EXPECT_EQ(value.ToInt32(), 0);
  EXPECT_EQ(Bytes(value.ToText()), "");
}

TEST(ValueIsZero, FollowsTheStorage) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  DateTime emptyDateTime;
  emptyDateTime.Clear();
  const struct {
    const char* name;
    Value value;
    bool zero;
  } cases[] = {
      {"empty", Value(), true},
      {"bool false", Made([](Value& v) { v.SetBool(false); }), true},
      {"bool true", Made([](Value& v) { v.SetBool(true); }), false},
      {"int 0", value_test::Int32(0), true},
      {"int -1", value_test::Int32(-1), false},
      {"int64 2^32 (low 32 bits zero)", value_test::Int64(int64_t(1) << 32), false},
      {"uint64 max", Made([](Value& v) { v.SetUInt64(UINT64_MAX); }), false},
      {"real 0", Real(0.0), true},
      {"real -0", Real(-0.0), true},
      {"real tiny", Real(1e-300), false},
      {"real 0.5 (truncates to 0)", Real(0.5), false},
      {"real NaN", Real(nan), false},
      {"text empty", Text(""), true},
      {"text 0", Text("0"), false},
      {"text one NUL byte", Text("\0"s), false},
      {"date valid", DateValue(3, 5, 2003), false},
      {"date 29 Feb 1900", DateValue(2, 29, 1900), true},
      {"date empty", Made([](Value& v) { v.SetDate(Date()); }), true},
      {"date and time valid", DateTimeValue(3, 5, 2003, 0, 0, 0), false},
      {"date and time, bad time", DateTimeValue(3, 5, 2003, 24, 0, 0), true},
      {"date and time, bad date", DateTimeValue(13, 5, 2003, 12, 0, 0), true},
      {"date and time empty", Made([&](Value& v) { v.SetDateTime(emptyDateTime); }), true},
      {"time midnight", TimeValue(0, 0, 0), false},
      {"time 24:00", TimeValue(24, 0, 0), true},
      {"time 12:60", TimeValue(12, 60, 0), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value.IsZero(), c.zero);
  }
}

TEST(ValueTextRef, FillsTheTextButKeepsKindAndStorage) {
  Value value = value_test::Int32(0);
  EXPECT_EQ(Bytes(value.TextRef()), "0");
  EXPECT_EQ(value.Type(), Value::kInt32);
  EXPECT_EQ(value.Storage(), Value::kIntegerStorage);
  // Still read as the integer, not as the text now held beside it.
  EXPECT_TRUE(value.IsZero());
  EXPECT_EQ(value.ToInt8(), 0);

  value.SetInt32(-5);
  EXPECT_EQ(Bytes(value.TextRef()), "-5");
  value.SetDouble(2.5);
  EXPECT_EQ(Bytes(value.TextRef()), "2.5");
  EXPECT_EQ(value.Type(), Value::kDouble);
  value = DateValue(3, 5, 2003);
  EXPECT_EQ(Bytes(value.TextRef()), "3/5/2003");
  EXPECT_EQ(value.Type(), Value::kDate);
  value.Clear();
  EXPECT_EQ(Bytes(value.TextRef()), "");
}

TEST(ValueTextRef, IsTheTextFieldOfATextValue) {
  Value value = Text("raw\0bytes"s);
  const String& first = value.TextRef();
  const String& second = value.TextRef();
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(Bytes(first), "raw\0bytes"s);
  value.SetText("changed");
  EXPECT_EQ(Bytes(first), "changed");
}

}  // namespace
