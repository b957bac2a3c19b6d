// String: numbers in texts, the XOR scrambler, version texts and the numeric helpers.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/string.h"
#include "string_test_support.h"

using namespace std::string_literals;
using string_test::Bytes;
using string_test::Make;

namespace {

TEST(StringFromInt64, WritesDecimalText) {
  const struct {
    int64_t value;
    const char* expected;
  } cases[] = {
      {0, "0"},
      {7, "7"},
      {-1, "-1"},
      {1234567890123LL, "1234567890123"},
      {INT64_MAX, "9223372036854775807"},
      {INT64_MIN, "-9223372036854775808"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(Bytes(String::FromInt64(c.value)), c.expected);
  }
}

TEST(StringToInt, ConvertsFromTheFirstNumberStart) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {
      {"1,234", 1234},           {"Size: -42 KB", -42},      {"+7", 7},
      {"abc", 0},                {"", 0},                    {".5", 0},
      {"3.9", 3},                {"12abc34", 12},            {"x 1,000,000 y", 1000000},
      {"2147483647", INT_MAX},   {"2147483648", INT_MAX},    {"-2147483648", INT_MIN},
      {"-99999999999", INT_MIN}, {"99,999,999,999", INT_MAX}, {"--5", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(String(c.text).ToInt(), c.expected);
  }
}

TEST(StringToInt64, ConvertsWithoutOverflowCheck) {
  const struct {
    const char* text;
    int64_t expected;
  } cases[] = {
      {"9,876,543,210", 9876543210LL},
      {"-5000000000", -5000000000LL},
      {"abc", 0},
      {"v+12", 12},
      {"free: 1,073,741,824 bytes", 1073741824LL},
      {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
      {"9223372036854775808", INT64_MIN},  // wraps: no overflow check
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(String(c.text).ToInt64(), c.expected);
  }
}

TEST(StringParseIntAt, ReadsAndAdvances) {
  const struct {
    const char* text;
    int pos;
    int expected;
    int endPos;
  } cases[] = {
      {"a-12b", 1, -12, 4},
      {"+5", 0, 5, 2},
      {"x", 0, 0, 0},              // nothing read, nothing advanced
      {"-x", 0, 0, 1},             // the sign alone is read
      {"1,000", 0, 1, 1},          // no thousands separators here
      {"12", 2, INT_MIN, 2},       // out of range
      {"12", -1, INT_MIN, -1},
      {"4294967297", 0, 1, 10},    // wraps: no overflow check
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " at " << c.pos);
    int pos = c.pos;
    EXPECT_EQ(String(c.text).ParseIntAt(pos), c.expected);
    EXPECT_EQ(pos, c.endPos);
  }
}

TEST(StringXorWith, UsesTheKeyBytesInOrder) {
  String s("abcdefg");
  s.XorWith(0x04030201u);
  const char expected[] = {'a' ^ 1, 'b' ^ 2, 'c' ^ 3, 'd' ^ 4, 'e' ^ 1, 'f' ^ 2, 'g' ^ 3};
  EXPECT_EQ(Bytes(s), std::string(expected, sizeof expected));
  s.XorWith(0x04030201u);
  EXPECT_EQ(Bytes(s), "abcdefg");
  String empty;
  empty.XorWith(0xFFFFFFFFu);
  EXPECT_FALSE(empty.HasBuffer());
  String one = Make("\xFF"s);
  one.XorWith(0x000000F0u);
  EXPECT_EQ(Bytes(one), "\x0F");
}

TEST(Random, CombinesTwoDrawsHighFirst) {
  for (int n : {0, 1, -5}) EXPECT_EQ(Random(n), 0) << n;
  std::srand(99);
  unsigned high = unsigned(std::rand());
  unsigned low = unsigned(std::rand());
  int raw = int(((high << 16) + low) & 0x7FFFFFFFu);
  std::srand(99);
  EXPECT_EQ(Random(String::kAll), raw);
  std::srand(99);
  EXPECT_EQ(Random(1000), raw % 1000);
  for (int i = 0; i < 1000; ++i) {
    int r = Random(7);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 7);
  }
}

TEST(RoundUpToMultiple, RoundsUpOnlyWhenNeeded) {
  const struct {
    int v;
    int m;
    int expected;
  } cases[] = {
      {10, 4, 12}, {12, 4, 12}, {10, 1, 10}, {10, 0, 10}, {10, -4, 10},
      {0, 8, 0},   {1, 512, 512}, {-3, 4, 0}, {-4, 4, -4}, {513, 512, 1024},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.v << "," << c.m);
    EXPECT_EQ(RoundUpToMultiple(c.v, c.m), c.expected);
  }
}

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(CompareVersionText, OrdersNumbersThenSuffixes) {
  const struct {
    const char* a;
    const char* b;
    int result;  // exact where the rule gives a difference, else the sign
    bool exact;
  } cases[] = {
      {"1.2", "1.10", -8, true},
      {"1.10", "1.2", 8, true},
      {"1.2a", "1.2", 'a', true},
      {"1.2", "1.2.0", -1, true},
      {"1.2.0", "1.2", 1, true},
      {"4.10.1998", "4.10.1998", 0, true},
      {"4.10.1998", "4.10.2222", -224, true},
      {".5", "0.5", 0, true},         // a leading '.' stands for 0
      {"..5", "0.5", 0, true},        // ... only while the list is empty
      {"1.2b", "1.2a", 1, true},
      {"1a.2", "1.2", 'a', true},     // a letter anywhere is the suffix
      {"1.2a3", "1.2.3", 'a', true},
      {"1.2ab", "1.2b", 0, true},     // the last letter wins
      {"", "", 0, true},
      {"", "1", -1, true},
      {"1", "", 1, true},
      {nullptr, "1", -1, true},
      {"v2", "v10", -8, true},
      {"1,2", "1.2", 0, true},        // anything else separates
      {"1..2", "1.0.2", 2, true},
      {"99999999999", "1", 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.a ? c.a : "(null)") << " vs " << c.b);
    int result = CompareVersionText(c.a, c.b);
    if (c.exact) {
      EXPECT_EQ(result, c.result);
    } else {
      EXPECT_EQ(Sign(result), Sign(c.result));
    }
  }
}

}  // namespace
