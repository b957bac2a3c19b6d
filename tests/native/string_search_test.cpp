// String: Find with each of its flags, the character scans and FindLineEnd.
#include <gtest/gtest.h>

#include <string>

#include "core/string.h"
#include "string_test_support.h"

using namespace std::string_literals;
using string_test::Make;

namespace {

constexpr int kAll = String::kAll;
constexpr int kFold = String::kIgnoreCase;      // 0x0001
constexpr int kWord = String::kWholeWord;       // 0x0002
constexpr int kWild = String::kWildcard;        // 0x0004
constexpr int kQuoted = String::kSkipQuoted;    // 0x0010
constexpr int kBack = String::kBackward;        // 0x0020
constexpr int kAfter = String::kAfterMatch;     // 0x2000
constexpr int kAnyOf = String::kAnyOf;          // 0x4000

struct FindCase {
  const char* text;
  const char* needle;
  int start;
  int flags;
  int needleLength;
  int expected;
};

void RunFindCases(const FindCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const FindCase& c = cases[i];
    SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\" needle \""
                                    << (c.needle ? c.needle : "(null)") << "\" start " << c.start
                                    << " flags 0x" << std::hex << c.flags);
    EXPECT_EQ(String(c.text).Find(c.needle, c.start, c.flags, c.needleLength), c.expected);
  }
}

TEST(StringFind, PlainForwardScan) {
  const FindCase cases[] = {
      {"abcabc", "bc", 0, 0, kAll, 1},
      {"abcabc", "bc", 2, 0, kAll, 4},
      {"abcabc", "bc", -5, 0, kAll, 1},   // a negative start counts as 0
      {"abcabc", "bc", 5, 0, kAll, -1},   // beyond the last possible start
      {"abcabc", "abc", 3, 0, kAll, 3},   // a match ending exactly at the end
      {"abcabc", "bcX", 0, 0, 2, 1},      // an explicit needle length
      {"ab", "abc", 0, 0, kAll, -1},      // needle longer than the text
      {"abcabc", "BC", 0, 0, kAll, -1},
      {"", "a", 0, 0, kAll, -1},
      {"abc", nullptr, 0, 0, kAll, -1},
      {"abc", "", 0, 0, kAll, -1},
      {"abc", "a", 0, 0, 0, -1},
      {"abc", "a", 0, 0, -2, -1},
  };
  RunFindCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringFind, IgnoreCaseAndWildcard) {
  const FindCase cases[] = {
      {"abcabc", "BC", 0, kFold, kAll, 1},
      {"abcabc", "b?", 0, kWild, kAll, 1},
      {"abcabc", "?c", 3, kWild, kAll, 4},
      {"abcabc", "b?", 0, 0, kAll, -1},  // without the flag '?' is an ordinary byte
      {"ab?d", "b?", 0, 0, kAll, 1},
      {"aXc", "A?C", 0, kFold | kWild, kAll, 0},
      {"aXc", "A?C", 0, kWild, kAll, -1},
      {"\xC9t\xE9", "\xE9T", 0, kFold, kAll, -1},  // only ASCII folds
  };
  RunFindCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringFind, WholeWord) {
  const FindCase cases[] = {
      {"xab ab", "ab", 0, kWord, kAll, 4},
      {"xab ab", "ab", 0, kWord | kAfter, kAll, 6},
      {"abc", "abc", 0, kWord, kAll, 0},
      {"_ab", "ab", 0, kWord, kAll, -1},  // '_' is a word character
      {"ab9", "ab", 0, kWord, kAll, -1},
      {"a-b", "b", 0, kWord, kAll, 2},
      {"ab_x ab", "ab", 0, kWord, kAll, 5},
      {"ab ab", "ab", kAll, kWord | kBack, kAll, 3},
      {"abx ab", "ab", 3, kWord | kBack, kAll, -1},
  };
  RunFindCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringFind, SkipsQuotedRuns) {
  const FindCase cases[] = {
      {"\"a\" a", "a", 0, kQuoted, kAll, 4},
      {"\"a\" a", "a", 0, 0, kAll, 1},
      {"say \"hi\" hi", "hi", 0, kQuoted, kAll, 9},
      {"\"abc", "b", 0, kQuoted, kAll, -1},           // an unclosed run hides the rest
      {"a \"a\"", "a", kAll, kQuoted | kBack, kAll, 0},  // backward from the closing quote
      {"a \"a\"", "a", kAll, kBack, kAll, 3},
      {"x\"\"x", "x", 1, kQuoted, kAll, 3},            // an empty quoted run
  };
  RunFindCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringFind, BackwardAndAfterMatch) {
  const FindCase cases[] = {
      {"abcabc", "bc", kAll, kBack, kAll, 4},
      {"abcabc", "bc", 4, kBack, kAll, 1},  // starts at start - 1
      {"abcabc", "bc", 5, kBack, kAll, 4},
      {"abcabc", "bc", 1, kBack, kAll, -1},
      {"abcabc", "bc", 0, kBack, kAll, -1},
      {"abcabc", "bc", -7, kBack, kAll, -1},
      {"abc", "c", kAll, kBack, kAll, 2},
      {"abcabc", "bc", kAll, kBack | kAfter, kAll, 6},
      {"abcabc", "bc", 0, kAfter, kAll, 3},
  };
  RunFindCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringFind, AnyOf) {
  const FindCase cases[] = {
      {"hello, world", ",;", 0, kAnyOf, kAll, 5},
      {"path/to\\x", "\\/", kAll, kAnyOf | kBack, kAll, 7},
      {"path/to\\x", "\\/", 7, kAnyOf | kBack, kAll, 4},
      {"ABC", "xb", 0, kAnyOf, kAll, -1},
      {"ABC", "xb", 0, kAnyOf | kFold, kAll, 1},
      {"abc", "xc", 0, kAnyOf | kAfter, kAll, 3},
      {"abc", "xyzc", 0, kAnyOf, 3, -1},  // the set is needleLength bytes long
  };
  RunFindCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringFind, CountedTextWithNuls) {
  String s = Make("a\0bc\0bc"s);
  EXPECT_EQ(s.Find("bc", 3), 5);
  EXPECT_EQ(s.Find("\0b", 0, 0, 2), 1);
}

TEST(StringFindChar, ForwardWithCaseAndQuotes) {
  struct Case {
    const char* text;
    char ch;
    int start;
    int flags;
    int expected;
  };
  const Case cases[] = {
      {"a\"b\"b", 'b', 0, kQuoted, 4}, {"a\"b\"b", 'b', 0, 0, 2}, {"ABC", 'b', 0, kFold, 1},
      {"ABC", 'b', 0, 0, -1},          {"abcb", 'b', 2, 0, 3},    {"abc", 'a', -4, 0, 0},
      {"abc", 'a', 3, 0, -1},          {"\"b", 'b', 0, kQuoted, -1}, {"", 'a', 0, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " " << c.ch << " " << c.start << " " << c.flags);
    EXPECT_EQ(String(c.text).FindChar(c.ch, c.start, c.flags), c.expected);
  }
}

TEST(StringFindCharReverse, BackwardWithCaseAndQuotes) {
  struct Case {
    const char* text;
    char ch;
    int start;
    int flags;
    int expected;
  };
  const Case cases[] = {
      {"b\"b\"x", 'b', kAll, kQuoted, 0}, {"b\"b\"x", 'b', kAll, 0, 2},
      {"aBc", 'b', kAll, kFold, 1},       {"aBc", 'b', kAll, 0, -1},
      {"abcb", 'b', 2, 0, 1},             {"abcb", 'b', 3, 0, 3},
      {"abc", 'a', -1, 0, -1},            {"", 'a', kAll, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " " << c.ch << " " << c.start << " " << c.flags);
    EXPECT_EQ(String(c.text).FindCharReverse(c.ch, c.start, c.flags), c.expected);
  }
}

TEST(StringFindFirstOf, ScansForSetMembers) {
  EXPECT_EQ(String("path\\file/x").FindFirstOf("/\\"), 4);
  EXPECT_EQ(String("path\\file/x").FindFirstOf("/\\", 5), 9);
  EXPECT_EQ(String("abc").FindFirstOf("c", -3), 2);
  EXPECT_EQ(String("abc").FindFirstOf(""), -1);
  EXPECT_EQ(String("abc").FindFirstOf(nullptr), -1);
  EXPECT_EQ(String("abc").FindFirstOf("a", 3), -1);
  EXPECT_EQ(String("abc").FindFirstOf("xyz"), -1);
  EXPECT_EQ(Make("a\0b"s).FindFirstOf("b"), 2);  // a NUL of the text is never in the set
}

TEST(StringFindFirstNotOf, ScansForNonMembers) {
  EXPECT_EQ(String("   x").FindFirstNotOf(" "), 3);
  EXPECT_EQ(String("  ").FindFirstNotOf(" "), -1);
  EXPECT_EQ(String("abc").FindFirstNotOf(""), 0);
  EXPECT_EQ(String("abc").FindFirstNotOf("", 2), 2);
  EXPECT_EQ(String("abc").FindFirstNotOf("", 3), -1);
  EXPECT_EQ(String("aab").FindFirstNotOf("a", -2), 2);
  EXPECT_EQ(Make("a\0"s).FindFirstNotOf("a"), 1);
}

TEST(StringFindNumberStart, FindsDigitsSignsAndPoints) {
  EXPECT_EQ(String("Version 4.10").FindNumberStart(), 8);
  EXPECT_EQ(String("abc-5").FindNumberStart(), 3);
  EXPECT_EQ(String("x+5").FindNumberStart(), 1);
  EXPECT_EQ(String("x.5").FindNumberStart(), 1);
  EXPECT_EQ(String("abc").FindNumberStart(), -1);
  EXPECT_EQ(String("a1b2").FindNumberStart(2), 3);
  EXPECT_EQ(String("1").FindNumberStart(-3), 0);
}

TEST(StringFindLineEnd, FindsTheEndOfEachBreakKind) {
  constexpr int kAtBreak = String::kBreakPosition;  // 0x0040
  constexpr int kOrLength = String::kLengthIfNone;  // 0x0080
  struct Case {
    const char* text;
    int start;
    int flags;
    int expected;
  };
  const Case cases[] = {
      {"ab\r\ncd", 0, 0, 4},          {"ab\r\ncd", 0, kAtBreak, 2}, {"ab\n\rcd", 0, 0, 4},
      {"ab\ncd", 0, 0, 3},            {"ab\rcd", 0, 0, 3},          {"ab\r\rcd", 0, 0, 3},
      {"ab\n\ncd", 0, 0, 3},          {"ab\r", 0, 0, 3},            {"ab\r\n", 0, 0, 4},
      {"abcd", 0, 0, -1},             {"abcd", 0, kOrLength, 4},    {"ab\ncd", 3, 0, -1},
      {"ab\ncd", 3, kOrLength, 5},    {"ab\ncd", 5, 0, -1},         {"ab\ncd", 5, kOrLength, 5},
      {"ab\ncd", -1, 0, -1},          {"ab\ncd", -1, kOrLength, 5}, {"ab\ncd", 2, 0, 3},
      {"\"a\nb\"\nc", 0, kQuoted, 6}, {"\"a\nb\"\nc", 0, 0, 3},     {"\"a\nb", 0, kQuoted, -1},
      {"\"a\"\r\n", 0, kQuoted | kAtBreak, 3},
      {"", 0, 0, -1},                 {"", 0, kOrLength, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " flags " << c.flags);
    EXPECT_EQ(String(c.text).FindLineEnd(c.start, c.flags), c.expected);
  }
}

}  // namespace
