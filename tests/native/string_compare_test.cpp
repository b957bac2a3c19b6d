// String: equality, ordering, prefixes, suffixes and truth values.
#include <gtest/gtest.h>

#include <string>

#include "core/string.h"
#include "string_test_support.h"

using namespace std::string_literals;
using string_test::Bytes;
using string_test::Make;

namespace {

constexpr int kAll = String::kAll;

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(StringEquals, ComparesLengthAndBytes) {
  struct Case {
    std::string a;
    std::string b;
    bool equal;
  };
  const Case cases[] = {
      {"", "", true},          {"a", "a", true},         {"a", "A", false},
      {"ab", "a", false},      {"a", "ab", false},       {"a\0b"s, "a\0b"s, true},
      {"a\0b"s, "a\0c"s, false}, {"a"s, "a\0"s, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a + "|" + c.b);
    EXPECT_EQ(Make(c.a).Equals(Make(c.b)), c.equal);
    EXPECT_EQ(Make(c.a).NotEquals(Make(c.b)), !c.equal);
  }
  String emptyWithBuffer("x");
  emptyWithBuffer.Data()[0] = '\0';
  emptyWithBuffer.SyncLength();
  EXPECT_TRUE(emptyWithBuffer.Equals(String()));
}

TEST(StringCompare, TerminatorTakesPartAndCaseFoldsOnRequest) {
  struct Case {
    const char* text;
    const char* s;
    bool caseSensitive;
    int max;
    int sign;
  };
  const Case cases[] = {
      {"", "", true, kAll, 0},
      {"", nullptr, true, kAll, 0},
      {"abc", "", true, kAll, 1},
      {"abc", nullptr, true, kAll, 1},
      {"", "abc", true, kAll, -1},  // no buffer
      {"abc", "abc", true, kAll, 0},
      {"ab", "abc", true, kAll, -1},  // a proper prefix compares lower
      {"abc", "ab", true, kAll, 1},
      {"abc", "ABC", true, kAll, 1},
      {"abc", "ABC", false, kAll, 0},
      {"abd", "ABC", false, kAll, 1},
      {"ABC", "abd", false, kAll, -1},
      {"[", "a", false, kAll, -1},  // '[' lies between the cases: folding is to lower case
      {"abc", "abd", true, 2, 0},   // max limits the compared bytes
      {"abc", "abd", true, 0, -1},  // nothing to compare
      {"abc", "abd", true, -5, -1},
      {"\xE9", "e", true, kAll, 1},  // bytes compare unsigned
      {"\xC9", "\xE9", false, kAll, -1},  // only ASCII letters fold
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << "|" << (c.s ? c.s : "(null)") << "|"
                                    << c.caseSensitive << "|" << c.max);
    String text(c.text);
    EXPECT_EQ(Sign(text.Compare(c.s, c.caseSensitive, c.max)), c.sign);
    EXPECT_EQ(Sign(text.CompareString(String(c.s), c.caseSensitive, c.max)), c.sign);
  }
}

TEST(StringCompare, EmptyTextWithABufferComparesByItsTerminator) {
  String s("x");
  s.Data()[0] = '\0';
  s.SyncLength();
  ASSERT_TRUE(s.HasBuffer());
  EXPECT_LT(s.Compare("a"), 0);
  EXPECT_EQ(s.Compare(""), 0);
}

TEST(StringCompare, StringArgumentIsCounted) {
  EXPECT_LT(Make("a\0b"s).CompareString(Make("a\0c"s)), 0);
  EXPECT_EQ(Make("a\0b"s).CompareString(Make("a\0b"s)), 0);
}

TEST(StringCompare, IsGreaterThan) {
  EXPECT_TRUE(String("b").IsGreaterThan("a"));
  EXPECT_TRUE(String("ab").IsGreaterThan("a"));
  EXPECT_FALSE(String("a").IsGreaterThan("a"));
  EXPECT_FALSE(String("A").IsGreaterThan("a"));
  EXPECT_TRUE(String("a").IsGreaterThan(""));
  EXPECT_FALSE(String().IsGreaterThan(""));
}

TEST(StringStartsWith, IsCaseSensitiveAndBounded) {
  struct Case {
    const char* text;
    const char* s;
    int max;
    bool expected;
  };
  const Case cases[] = {
      {"abcdef", "abc", kAll, true}, {"abcdef", "abx", kAll, false}, {"abcdef", "abx", 2, true},
      {"abc", "abcd", kAll, false},  {"abc", "abc", kAll, true},     {"abc", "ABC", kAll, false},
      {"abc", "", kAll, false},      {"abc", nullptr, kAll, false},  {"abc", "a", 0, false},
      {"", "a", kAll, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << "|" << (c.s ? c.s : "(null)") << "|" << c.max);
    EXPECT_EQ(String(c.text).StartsWith(c.s, c.max), c.expected);
  }
}

TEST(StringRemovePrefix, RemovesACaseInsensitiveMatch) {
  struct Case {
    const char* text;
    const char* prefix;
    int max;
    bool removed;
    const char* rest;
  };
  const Case cases[] = {
      {"abcdef", "ABC", kAll, true, "def"}, {"abcdef", "abx", kAll, false, "abcdef"},
      {"abcdef", "abx", 2, true, "cdef"},   {"ab", "abc", kAll, false, "ab"},
      {"abc", "abc", kAll, true, ""},       {"abc", "", kAll, false, "abc"},
      {"abc", nullptr, kAll, false, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << "|" << (c.prefix ? c.prefix : "(null)"));
    String s(c.text);
    EXPECT_EQ(s.RemovePrefix(c.prefix, c.max), c.removed);
    EXPECT_EQ(Bytes(s), c.rest);
  }
}

TEST(StringRemoveSuffix, RemovesACaseInsensitiveMatch) {
  struct Case {
    const char* text;
    const char* suffix;
    int max;
    bool removed;
    const char* rest;
  };
  const Case cases[] = {
      {"file.TXT", ".txt", kAll, true, "file"},
      {"file.txt", ".doc", kAll, false, "file.txt"},
      {"file.txt", "xtxt", 3, true, "file."},  // the last 3 bytes of each side
      {"txt", ".txt", kAll, false, "txt"},
      {"abc", "", kAll, false, "abc"},
      {"abc", "ABC", kAll, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << "|" << c.suffix << "|" << c.max);
    String s(c.text);
    EXPECT_EQ(s.RemoveSuffix(c.suffix, c.max), c.removed);
    EXPECT_EQ(Bytes(s), c.rest);
  }
}

TEST(StringToBool, ReadsCommonTruthWords) {
  struct Case {
    const char* text;
    bool expected;
  };
  const Case cases[] = {
      {"N", false},     {"FALSE", false}, {"0", false},   {"", false},    {" \t\r\n", false},
      {"No", false},    {"-1", false},    {"f", false},   {"no ", false}, {" n\r\n", false},
      {"false", false}, {"Y", true},      {"1", true},    {"true", true}, {"yes", true},
      {"on", true},     {" 1 ", true},    {"nope", true}, {"2", true},    {"fals", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    String s(c.text);
    EXPECT_EQ(s.ToBool(), c.expected);
    EXPECT_EQ(Bytes(s), c.text);  // the text itself is not trimmed
  }
}

TEST(StringIsBlank, MeansEmptyOrOnlyWhiteSpace) {
  const struct {
    const char* text;
    bool blank;
  } cases[] = {
      {"", true}, {" ", true}, {"\r\n\t \r", true}, {" x ", false}, {";", false}, {".", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(String(c.text).IsBlank(), c.blank);
  }
}

}  // namespace
