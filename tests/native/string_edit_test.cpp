// String: in-place character edits, trimming, edges and line-break normalisation.
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

TEST(StringToUpper, FoldsAsciiLettersOnly) {
  String s = Make("abc-XYZ_09\xE9\xFF\0z"s);
  s.ToUpper();
  EXPECT_EQ(Bytes(s), "ABC-XYZ_09\xE9\xFF\0Z"s);
}

TEST(StringReplaceChar, CountsReplacements) {
  struct Case {
    const char* text;
    char from;
    char to;
    bool caseSensitive;
    int count;
    const char* expected;
  };
  const Case cases[] = {
      {"a/b/c", '/', '\\', true, 2, "a\\b\\c"},
      {"aAa", 'a', 'x', false, 3, "xxx"},
      {"aAa", 'a', 'x', true, 2, "xAx"},
      {"aAa", 'A', 'x', false, 3, "xxx"},
      {"abc", 'z', 'x', true, 0, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    String s(c.text);
    EXPECT_EQ(s.ReplaceChar(c.from, c.to, c.caseSensitive), c.count);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

TEST(StringRemoveChar, RemovesFromStartUpToLimit) {
  struct Case {
    const char* text;
    int start;
    int limit;
    int count;
    const char* expected;
  };
  const Case cases[] = {
      {"1,234,567", 0, kAll, 2, "1234567"}, {"1,234,567", 2, kAll, 1, "1,234567"},
      {"1,234,567", -5, kAll, 2, "1234567"}, {"1,234,567", 0, 1, 1, "1234,567"},
      {"1,234,567", 0, 0, 0, "1,234,567"},   {"1,234,567", 0, -1, 0, "1,234,567"},
      {"1,234,567", 9, kAll, 0, "1,234,567"}, {",,,", 0, kAll, 3, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " " << c.limit);
    String s(c.text);
    EXPECT_EQ(s.RemoveChar(',', c.start, c.limit), c.count);
    EXPECT_EQ(Bytes(s), c.expected);
    ExpectValid(s);
  }
}

TEST(StringTrim, RemovesRunsOfTheSet) {
  struct Case {
    const char* text;
    const char* set;
    int left;
    int right;
    const char* expected;  // after TrimLeft then TrimRight
  };
  const Case cases[] = {
      {" \t\r\nab \n", nullptr, 4, 2, "ab"},
      {"ab", nullptr, 0, 0, "ab"},
      {"a b", nullptr, 0, 0, "a b"},
      {"   ", nullptr, 3, 0, ""},
      {"xxabyx", "xy", 2, 2, "ab"},
      {"xxab", "", 0, 0, "xxab"},
      {"\\\\srv\\", "\\", 2, 1, "srv"},
      {"", nullptr, 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    String s(c.text);
    EXPECT_EQ(s.TrimLeft(c.set), c.left);
    EXPECT_EQ(s.TrimRight(c.set), c.right);
    EXPECT_EQ(Bytes(s), c.expected);
    ExpectValid(s);
  }
  String both(" \tx y\r\n");
  EXPECT_EQ(both.Trim(), 4);
  EXPECT_EQ(Bytes(both), "x y");
  String nul = Make("\0 a \0"s);  // NUL is not whitespace
  EXPECT_EQ(nul.Trim(), 0);
}

TEST(StringTrim, TrimRightChar) {
  String s("C:\\dir\\\\");
  EXPECT_EQ(s.TrimRightChar('\\'), 2);
  EXPECT_EQ(Bytes(s), "C:\\dir");
  EXPECT_EQ(s.TrimRightChar('\\'), 0);
  String all("...");
  EXPECT_EQ(all.TrimRightChar('.'), 3);
  EXPECT_FALSE(all.HasBuffer());
}

TEST(StringRemoveFirstLast, ClipAndCount) {
  struct Case {
    int n;
    int first;
    const char* afterFirst;
    int last;
    const char* afterLast;
  };
  const Case cases[] = {
      {2, 2, "cdef", 2, "abcd"}, {10, 6, "", 6, ""}, {0, 0, "abcdef", 0, "abcdef"},
      {-1, 0, "abcdef", 0, "abcdef"}, {6, 6, "", 6, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    String a("abcdef");
    EXPECT_EQ(a.RemoveFirst(c.n), c.first);
    EXPECT_EQ(Bytes(a), c.afterFirst);
    String b("abcdef");
    EXPECT_EQ(b.RemoveLast(c.n), c.last);
    EXPECT_EQ(Bytes(b), c.afterLast);
  }
  String quoted("\"x\"");
  EXPECT_EQ(quoted.RemoveFirstAndLast(1), 2);
  EXPECT_EQ(Bytes(quoted), "x");
  String shortText("abc");
  EXPECT_EQ(shortText.RemoveFirstAndLast(5), 3);
  EXPECT_EQ(Bytes(shortText), "");
}

TEST(StringRemoveIf, RemovesOneMatchingCharacter) {
  String s("/-a-");
  EXPECT_TRUE(s.RemoveFirstIf('/'));
  EXPECT_FALSE(s.RemoveFirstIf('/'));
  EXPECT_TRUE(s.RemoveLastIf('-'));
  EXPECT_FALSE(s.RemoveLastIf('-'));
  EXPECT_EQ(Bytes(s), "-a");
  EXPECT_TRUE(s.RemoveFirstIfIn("/-"));
  EXPECT_EQ(Bytes(s), "a");
  EXPECT_FALSE(s.RemoveFirstIfIn("/-"));
  EXPECT_FALSE(s.RemoveFirstIfIn(""));
  EXPECT_FALSE(s.RemoveFirstIfIn(nullptr));
  String empty;
  EXPECT_FALSE(empty.RemoveFirstIf('\0'));
  EXPECT_FALSE(empty.RemoveLastIf('\0'));
  EXPECT_FALSE(empty.RemoveFirstIfIn("/-"));
  String nul = Make("\0x"s);
  EXPECT_FALSE(nul.RemoveFirstIfIn("/-"));  // the set's terminator is not a member
}

TEST(StringStripEnclosing, NeedsTheCharacterAtBothEnds) {
  struct Case {
    const char* text;
    bool stripped;
    const char* expected;
  };
  const Case cases[] = {
      {"\"a b\"", true, "a b"}, {"\"\"", true, ""},    {"\"a", false, "\"a"},
      {"a\"", false, "a\""},    {"\"", false, "\""},   {"", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    String s(c.text);
    EXPECT_EQ(s.StripEnclosing('"'), c.stripped);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

TEST(StringQuote, WrapsInQuotes) {
  String s("a b");
  s.Quote();
  EXPECT_EQ(Bytes(s), "\"a b\"");
  String empty;
  empty.Quote();
  EXPECT_EQ(Bytes(empty), "\"\"");
}

TEST(StringPrependCharIfMissing, InsertsOnlyWhenAbsent) {
  String s("x");
  EXPECT_TRUE(s.PrependCharIfMissing('\\'));
  EXPECT_FALSE(s.PrependCharIfMissing('\\'));
  EXPECT_EQ(Bytes(s), "\\x");
  String empty;
  EXPECT_TRUE(empty.PrependCharIfMissing('\\'));
  EXPECT_EQ(Bytes(empty), "\\");
}

TEST(StringEnsureTrailingLineBreak, AppendsCrLfUnlessABreakEnds) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"a", "a\r\n"}, {"a\n", "a\n"}, {"a\r", "a\r"}, {"a\r\n", "a\r\n"}, {"", "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    String s(c.text);
    s.EnsureTrailingLineBreak();
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

TEST(StringNormaliseLineBreaks, MakesEveryBreakCrLf) {
  struct Case {
    const char* text;
    int changes;
    const char* expected;
  };
  const Case cases[] = {
      {"a\nb", 1, "a\r\nb"},         {"a\rb", 1, "a\r\nb"},           {"a\n\rb", 1, "a\r\nb"},
      {"a\r\nb", 0, "a\r\nb"},       {"\n\n", 2, "\r\n\r\n"},         {"\r\r", 2, "\r\n\r\n"},
      {"\r\n\r", 1, "\r\n\r\n"},     {"\n\r\n", 2, "\r\n\r\n"},       {"abc", 0, "abc"},
      {"", 0, ""},                   {"x\n\r\n\ry", 2, "x\r\n\r\ny"}, {"\n", 1, "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
    String s(c.text);
    EXPECT_EQ(s.NormaliseLineBreaks(), c.changes);
    EXPECT_EQ(Bytes(s), c.expected);
    ExpectValid(s);
  }
}

}  // namespace
