// String: the core edit (Splice) and the insertions, deletions and appends built on it.
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

// Splice's effect on positions and the tail, made visible by FillRange ('#' marks new bytes).
TEST(StringSplice, MovesTheTailAndResizes) {
  struct Case {
    int pos;
    int remove;
    int insert;
    bool ok;
    const char* expected;
  };
  const Case cases[] = {
      {0, 0, 2, true, "##abcdef"},
      {6, 0, 2, true, "abcdef##"},
      {3, 0, 1, true, "abc#def"},
      {1, 2, 2, true, "a##def"},    // same size: nothing moves
      {1, 2, 4, true, "a####def"},  // tail moves up
      {1, 4, 1, true, "a#f"},       // tail moves down
      {2, kAll, 1, true, "ab#"},    // no tail: the length is pos + insert
      {2, kAll, 0, true, "ab"},
      {2, 100, 0, true, "ab"},      // remove is clipped to the end
      {0, kAll, 0, true, ""},
      {6, 3, 0, true, "abcdef"},    // removing at the end removes nothing
      {2, -3, 2, true, "ab##cdef"}, // a negative remove count is no removal
      {-1, 0, 1, false, "abcdef"},
      {7, 0, 1, false, "abcdef"},
      {2, 0, 0, false, "abcdef"},   // nothing to remove needs something to insert
      {2, -3, 0, false, "abcdef"},
      {2, 1, -1, false, "abcdef"},
      {3, 1, kAll, false, "abcdef"},  // a length beyond 32 bits is a bad count
      {kAll, 1, 1, false, "abcdef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pos << "," << c.remove << "," << c.insert);
    String s("abcdef");
    EXPECT_EQ(s.FillRange(c.pos, c.remove, '#', c.insert), c.ok);
    EXPECT_EQ(Bytes(s), c.expected);
    ExpectValid(s);
  }
}

TEST(StringSplice, RemovingEverythingReleasesTheBuffer) {
  String s("abc");
  EXPECT_TRUE(s.Splice(0, kAll, 0));
  EXPECT_FALSE(s.HasBuffer());
  EXPECT_TRUE(s.Splice(0, 0, 3));  // an empty string takes an insertion at 0
  EXPECT_EQ(s.Length(), 3);
  ExpectValid(s);
}

TEST(StringSplice, KeepsInnerNulsOfTheTail) {
  String s = Make("a\0b\0c"s);
  EXPECT_TRUE(s.FillRange(1, 0, '-', 2));
  EXPECT_EQ(Bytes(s), "a--\0b\0c"s);
  EXPECT_TRUE(s.Erase(0, 3));
  EXPECT_EQ(Bytes(s), "\0b\0c"s);
}

TEST(StringReplaceRange, CopiesDataAndTreatsNullAsNothing) {
  String s("abcdef");
  EXPECT_TRUE(s.ReplaceRange(1, 2, "XYZ", 3));
  EXPECT_EQ(Bytes(s), "aXYZdef");
  EXPECT_TRUE(s.ReplaceRange(1, 3, nullptr, 5));  // null data: a pure removal
  EXPECT_EQ(Bytes(s), "adef");
  EXPECT_FALSE(s.ReplaceRange(1, 0, nullptr, 5));
  EXPECT_FALSE(s.ReplaceRange(9, 0, "x", 1));
  EXPECT_EQ(Bytes(s), "adef");
}

TEST(StringReplaceRange, SourceInsideTheStringSurvivesReallocation) {
  // 100 bytes in a 121-byte buffer: doubling must reallocate while the source is read.
  String s(std::string(100, 'x').c_str());
  s.Data()[0] = 'A';
  EXPECT_TRUE(s.Append(s));
  EXPECT_EQ(s.Length(), 200);
  EXPECT_EQ(s.CharAt(100), 'A');
  EXPECT_TRUE(s.Insert(1, s.CStr(), 150));
  EXPECT_EQ(s.Length(), 350);
  EXPECT_EQ(Bytes(s).substr(0, 3), "AAx");
  String t("abc");
  EXPECT_TRUE(t.ReplaceRange(0, 1, t.CStr() + 1, 2));  // source overlaps the replaced range
  EXPECT_EQ(Bytes(t), "bcbc");
  ExpectValid(s);
}

TEST(StringInsert, InsertsAtMostMaxBytes) {
  struct Case {
    int pos;
    const char* text;
    int max;
    bool ok;
    const char* expected;
  };
  const Case cases[] = {
      {1, "XYZ", kAll, true, "aXYZbc"}, {1, "XYZ", 2, true, "aXYbc"},
      {3, "!", kAll, true, "abc!"},     {0, ">", kAll, true, ">abc"},
      {1, "", kAll, false, "abc"},      {1, nullptr, kAll, false, "abc"},
      {1, "XYZ", 0, false, "abc"},      {4, "X", kAll, false, "abc"},
      {-1, "X", kAll, false, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pos << "," << c.max);
    String s("abc");
    EXPECT_EQ(s.Insert(c.pos, c.text, c.max), c.ok);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

TEST(StringInsert, StringSourceIsCounted) {
  String s("ab");
  EXPECT_TRUE(s.Insert(1, Make("x\0y"s)));
  EXPECT_EQ(Bytes(s), "ax\0yb"s);
  EXPECT_TRUE(s.Insert(0, String("123"), 2));
  EXPECT_EQ(Bytes(s), "12ax\0yb"s);
  EXPECT_FALSE(s.Insert(0, String()));
}

TEST(StringInsert, CharsAndPrepend) {
  String s("abcd");
  EXPECT_TRUE(s.InsertChar('-', 2, 3));
  EXPECT_EQ(Bytes(s), "ab---cd");
  EXPECT_TRUE(s.InsertChar('<', 0));
  EXPECT_EQ(Bytes(s), "<ab---cd");
  EXPECT_FALSE(s.InsertChar('x', 1, 0));
  EXPECT_TRUE(s.Prepend("C:"));
  EXPECT_EQ(Bytes(s), "C:<ab---cd");
  EXPECT_FALSE(s.Prepend(""));
}

TEST(StringErase, RemovesRangesAndRejectsBadOnes) {
  struct Case {
    int pos;
    int count;
    bool ok;
    const char* expected;
  };
  const Case cases[] = {
      {2, kAll, true, "ab"}, {0, 1, true, "bcdef"},   {4, 2, true, "abcd"},
      {4, 99, true, "abcd"}, {0, kAll, true, ""},     {2, 0, false, "abcdef"},
      {2, -1, false, "abcdef"}, {-1, 1, false, "abcdef"}, {7, 1, false, "abcdef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pos << "," << c.count);
    String s("abcdef");
    EXPECT_EQ(s.Erase(c.pos, c.count), c.ok);
    EXPECT_EQ(Bytes(s), c.expected);
    ExpectValid(s);
  }
  String s("abcdef");
  EXPECT_TRUE(s.EraseFrom(3));
  EXPECT_EQ(Bytes(s), "abc");
}

TEST(StringAppend, AllForms) {
  String s;
  EXPECT_TRUE(s.Append("ab"));
  EXPECT_TRUE(s.Append(String("cd")));
  EXPECT_TRUE(s.Append("\0e\0"s.data(), 3));
  EXPECT_TRUE(s.AppendChar('f'));
  EXPECT_EQ(Bytes(s), "abcd\0e\0f"s);
  EXPECT_FALSE(s.Append(""));
  EXPECT_FALSE(s.Append(static_cast<const char*>(nullptr)));
  EXPECT_FALSE(s.Append("xyz", 0));
  EXPECT_FALSE(s.Append(nullptr, 3));
  s += "g";
  s += String("h");
  s += 'i';
  EXPECT_EQ(Bytes(s), "abcd\0e\0fghi"s);
  ExpectValid(s);
}

TEST(StringConcatenation, BuildsNewStrings) {
  String a("ab");
  EXPECT_EQ(Bytes(a + 'c'), "abc");
  EXPECT_EQ(Bytes(a + "cd"), "abcd");
  EXPECT_EQ(Bytes(a + String("x")), "abx");
  EXPECT_EQ(Bytes("<" + a), "<ab");
  EXPECT_EQ(Bytes(String() + ""), "");
  EXPECT_EQ(Bytes(a + Make("\0z"s)), "ab\0z"s);
  EXPECT_EQ(Bytes(a), "ab");  // the operands are unchanged
}

}  // namespace
