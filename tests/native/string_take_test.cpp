// String: substrings and the consuming operations (lines, quoted runs, tokens).
#include <gtest/gtest.h>

#include <string>

#include "core/string.h"
#include "string_test_support.h"

using namespace std::string_literals;
using string_test::Bytes;
using string_test::ExpectValid;
using string_test::Make;

namespace {

constexpr int kAll = String::kAll;

TEST(StringSubstring, ClipsStartAndCount) {
  struct Case {
    int start;
    int count;
    bool ok;
    const char* expected;
  };
  const Case cases[] = {
      {2, 3, true, "cde"},  {2, kAll, true, "cdef"}, {-3, 2, true, "ab"},   {4, 10, true, "ef"},
      {6, 1, false, ""},    {7, 1, false, ""},       {2, 0, false, ""},     {2, -1, false, ""},
      {0, kAll, true, "abcdef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << "," << c.count);
    String s("abcdef");
    EXPECT_EQ(Bytes(s.Substring(c.start, c.count)), c.expected);
    String dst("previous");
    EXPECT_EQ(s.CopyRange(dst, c.count, c.start), c.ok);
    EXPECT_EQ(Bytes(dst), c.expected);
    ExpectValid(dst);
    EXPECT_EQ(Bytes(s), "abcdef");
  }
}

TEST(StringSubstring, CopyRangeIntoItself) {
  String s("abcdef");
  EXPECT_TRUE(s.CopyRange(s, 3, 2));
  EXPECT_EQ(Bytes(s), "cde");
  EXPECT_EQ(Bytes(Make("a\0b"s).Substring(1)), "\0b"s);
}

TEST(StringExtract, ReturnsAndErasesTheRange) {
  struct Case {
    int start;
    int count;
    const char* taken;
    const char* rest;
  };
  const Case cases[] = {
      {1, 2, "bc", "adef"}, {-1, 2, "ab", "cdef"}, {4, kAll, "ef", "abcd"},
      {10, 1, "", "abcdef"}, {2, 0, "", "abcdef"}, {0, kAll, "abcdef", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << "," << c.count);
    String s("abcdef");
    EXPECT_EQ(Bytes(s.Extract(c.start, c.count)), c.taken);
    EXPECT_EQ(Bytes(s), c.rest);
  }
}

TEST(StringExtractFrom, CutsAtTheMatch) {
  struct Case {
    const char* text;
    const char* needle;
    int flags;
    const char* taken;
    const char* rest;
  };
  const Case cases[] = {
      {"name=value", "=", 0, "=value", "name"},
      {"name=value", "=", String::kAfterMatch, "value", "name="},
      {"a.b.c", ".", String::kBackward, ".c", "a.b"},
      {"Setup.EXE", ".exe", String::kIgnoreCase, ".EXE", "Setup"},
      {"abc", "=", 0, "", "abc"},
      {"abc", "a", 0, "abc", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " " << c.needle << " " << c.flags);
    String s(c.text);
    EXPECT_EQ(Bytes(s.ExtractFrom(c.needle, c.flags)), c.taken);
    EXPECT_EQ(Bytes(s), c.rest);
  }
}

TEST(StringTruncateAtChar, CutsAtTheFirstOccurrence) {
  String s("a;b;c");
  EXPECT_TRUE(s.TruncateAtChar(';'));
  EXPECT_EQ(Bytes(s), "a");
  EXPECT_FALSE(s.TruncateAtChar(';'));
  EXPECT_EQ(Bytes(s), "a");
  String first(";x");
  EXPECT_TRUE(first.TruncateAtChar(';'));
  EXPECT_FALSE(first.HasBuffer());
}

TEST(StringSplitAtChar, ReturnsThePartBefore) {
  String s("key=val=x");
  EXPECT_EQ(Bytes(s.SplitAtChar('=')), "key");
  EXPECT_EQ(Bytes(s), "val=x");
  EXPECT_EQ(Bytes(s.SplitAtChar('=')), "val");
  EXPECT_EQ(Bytes(s), "x");
  EXPECT_EQ(Bytes(s.SplitAtChar('=')), "x");  // absent: all of it, and this string is emptied
  EXPECT_FALSE(s.HasBuffer());
  String edge("=");
  EXPECT_EQ(Bytes(edge.SplitAtChar('=')), "");
  EXPECT_EQ(Bytes(edge), "");
}

TEST(StringPopFirstChar, TakesOneByte) {
  String s("ab");
  EXPECT_EQ(s.PopFirstChar(), 'a');
  EXPECT_EQ(s.PopFirstChar(), 'b');
  EXPECT_EQ(s.PopFirstChar(), '\0');
  EXPECT_FALSE(s.HasBuffer());
}

struct LineCase {
  std::string text;
  std::string line;
  std::string lineWithBreak;
  std::string rest;
};

const LineCase kLineCases[] = {
    {"one\r\ntwo", "one", "one\r\n", "two"},
    {"one\n\rtwo", "one", "one\n\r", "two"},
    {"one\ntwo", "one", "one\n", "two"},
    {"one\rtwo", "one", "one\r", "two"},
    {"one\n\ntwo", "one", "one\n", "\ntwo"},  // two LFs are two breaks
    {"one\r\rtwo", "one", "one\r", "\rtwo"},
    {"one\0two"s, "one", "one\0"s, "two"},      // a NUL ends a line too
    {"one", "one", "one", ""},
    {"", "", "", ""},
    {"\r\nx", "", "\r\n", "x"},
    {"last\r\n", "last", "last\r\n", ""},
};

TEST(StringTakeLine, TakesTheFirstLineWithoutItsBreak) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    String s = Make(c.text);
    EXPECT_EQ(Bytes(s.TakeLine()), c.line);
    EXPECT_EQ(Bytes(s), c.rest);
    ExpectValid(s);
  }
}

TEST(StringTakeLine, WithBreakKeepsTheBreak) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    String s = Make(c.text);
    EXPECT_EQ(Bytes(s.TakeLineWithBreak()), c.lineWithBreak);
    EXPECT_EQ(Bytes(s), c.rest);
  }
}

TEST(StringTakeLine, ConsumesAWholeText) {
  String s("a\r\nb\n\nc");
  std::string lines;
  while (!s.IsEmpty()) lines += Bytes(s.TakeLine()) + "|";
  EXPECT_EQ(lines, "a|b||c|");
}

TEST(StringTakeQuoted, TakesAQuotedRun) {
  struct Case {
    const char* text;
    int start;
    char quote;
    const char* content;
    const char* rest;
  };
  const Case cases[] = {
      {"\"a\"\"b\" c", 0, '"', "a\"b", " c"},
      {"x \"q\" y", 2, '"', "q", "x  y"},
      {"\"open", 0, '"', "open", ""},         // unclosed: everything to the end
      {"\"\"", 0, '"', "", ""},
      {"\"\"\"\"", 0, '"', "\"", ""},         // one doubled quote inside
      {"\"a\"\"", 0, '"', "a\"", ""},         // a doubled quote, then the end
      {"'it''s' x", 0, '\'', "it's", " x"},
      {"abc", 0, '"', "", "abc"},              // no quote at start: nothing changes
      {"\"abc\"", 1, '"', "", "\"abc\""},
      {"\"abc\"", 10, '"', "", "\"abc\""},
      {"\"abc\"", -1, '"', "", "\"abc\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " at " << c.start);
    String s(c.text);
    EXPECT_EQ(Bytes(s.TakeQuoted(c.start, c.quote)), c.content);
    EXPECT_EQ(Bytes(s), c.rest);
  }
}

TEST(StringTakeToken, TakesOneCommandLineWord) {
  struct Case {
    const char* text;
    const char* token;
    const char* rest;
  };
  const Case cases[] = {
      {"  setup.exe /a", "setup.exe", "/a"},
      {"\"C:\\Program Files\\x.exe\" /u", "\"C:\\Program Files\\x.exe\"", "/u"},
      {"a\"b c\"d e", "a\"b c\"d", "e"},
      {"\"say \"\"hi\"\"\" rest", "\"say \"hi\"\"", "rest"},
      {"/d:\"C:\\My Dir\" /n", "/d:\"C:\\My Dir\"", "/n"},
      {"last", "last", ""},
      {"   ", "", ""},
      {"", "", ""},
      {"a\tb", "a", "b"},
      {"a\r\nb", "a", "\nb"},  // exactly one whitespace byte is consumed
      {"a  b", "a", " b"},
      {"\"unclosed x", "\"unclosed x", ""},
      {"\"\" x", "\"\"", "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    String s(c.text);
    EXPECT_EQ(Bytes(s.TakeToken()), c.token);
    EXPECT_EQ(Bytes(s), c.rest);
    ExpectValid(s);
  }
}

}  // namespace
