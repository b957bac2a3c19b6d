// String::Split with each of its flags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/array.h"
#include "core/string.h"
#include "string_test_support.h"

using namespace std::string_literals;
using string_test::Bytes;
using string_test::Make;

namespace {

std::vector<std::string> Pieces(const Array<String>& list) {
  std::vector<std::string> pieces;
  for (int i = 0; i < list.Count(); ++i) pieces.push_back(Bytes(list.At(i)));
  return pieces;
}

struct SplitCase {
  std::string text;
  const char* delimiters;
  int flags;
  std::vector<std::string> pieces;
};

void RunSplitCases(const std::vector<SplitCase>& cases) {
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(c.text) << " on \""
                                    << (c.delimiters ? c.delimiters : "(null)") << "\" flags 0x"
                                    << std::hex << c.flags);
    String s = Make(c.text);
    Array<String> out;
    EXPECT_EQ(s.Split(out, c.delimiters, c.flags), int(c.pieces.size()));
    EXPECT_EQ(Pieces(out), c.pieces);
    EXPECT_EQ(Bytes(s), c.text);  // the source is unchanged
  }
}

TEST(StringSplit, DelimiterSetAndEmptyPieces) {
  RunSplitCases({
      {"a,,b", ",", 0, {"a", "b"}},
      {"a,,b", ",", 0x0001, {"a", "", "b"}},
      {"a,b,", ",", 0, {"a", "b"}},
      {"a,b,", ",", 0x0001, {"a", "b", ""}},  // a delimiter at the very end
      {",a", ",", 0x0001, {"", "a"}},
      {"a;b,c", ",;", 0, {"a", "b", "c"}},
      {"abc", ",", 0, {"abc"}},
      {"", ",", 0x0001, {}},
      {",", ",", 0x0001, {"", ""}},
      {"a,b", nullptr, 0, {"a,b"}},  // no set: nothing splits
      {"a,b", "", 0, {"a,b"}},
  });
}

TEST(StringSplit, LinesAndNuls) {
  RunSplitCases({
      {"x\r\ny\r\n", nullptr, 0x0007, {"x", "y", ""}},
      {"x\r\ny\r\n", nullptr, 0x0006, {"x", "y"}},
      {"a\n\rb\rc\nd", nullptr, 0x0004, {"a", "b", "c", "d"}},  // LF CR is one break
      {"a\n\nb", nullptr, 0x0005, {"a", "", "b"}},              // two LFs are two
      {"a\r\n\r\nb", nullptr, 0x0005, {"a", "", "b"}},
      {"a\0b\0"s, nullptr, 0x0002, {"a", "b"}},
      {"a\0b"s, nullptr, 0x0004, {"a\0b"s}},  // NUL splits only with 0x0002
      {"a,b\nc", ",", 0x0004, {"a", "b", "c"}},
  });
}

TEST(StringSplit, TrimmingAndKeptDelimiters) {
  RunSplitCases({
      {" a , b ,  ", ",", 0x0008, {"a", "b"}},
      {" a , b ,  ", ",", 0x0009, {"a", "b", ""}},
      {"a\r\nb\nc", nullptr, 0x0024, {"a\r\n", "b\n", "c"}},
      {"a,b,", ",", 0x0021, {"a,", "b,", ""}},
      {"a\r\nb", nullptr, 0x002C, {"a", "b"}},  // trimming takes the kept break too
  });
}

TEST(StringSplit, QuotedRunsAndUnquoting) {
  RunSplitCases({
      {"\"a,b\",c", ",", 0x0010, {"\"a,b\"", "c"}},
      {"\"a,b\",c", ",", 0, {"\"a", "b\"", "c"}},
      {"x\"a,b,c", ",", 0x0010, {"x\"a,b,c"}},  // an unclosed run to the end
      {"\"a,b\",c", ",", 0x0210, {"a,b", "c"}},
      {"\"say \"\"hi\"\"\",x", ",", 0x0610, {"say \"hi\"", "x"}},
      {"\"say \"\"hi\"\"\",x", ",", 0x0210, {"say \"\"hi\"\"", "x"}},
      {"\"a\"b,c", ",", 0x0200, {"\"a\"b", "c"}},  // must both start and end with '"'
      {"\"\",x", ",", 0x0200, {"x"}},                // unquoted to empty: dropped
      {"\"\",x", ",", 0x0201, {"", "x"}},
      {" \" a \" ,b", ",", 0x0208, {"a", "b"}},      // trimmed again after unquoting
      {"\"", ",", 0x0200, {"\""}},                   // one quote is not a quoted piece
  });
}

TEST(StringSplit, RepeatedDelimiterDoesNotSplit) {
  RunSplitCases({
      {"a,,b,c", ",", 0x0800, {"a,,b", "c"}},
      {"a,,,b", ",", 0x0800, {"a,,", "b"}},
      {"a;,b", ",;", 0x0800, {"a", "b"}},  // two different delimiters still split
      {"a,,b", ",", 0x0000, {"a", "b"}},
  });
}

TEST(StringSplit, UniquePieces) {
  RunSplitCases({
      {"a,b,a,c,b", ",", 0x0100, {"a", "b", "c"}},
      {"a,A", ",", 0x0100, {"a", "A"}},  // exact comparison
      {"a,,b,", ",", 0x0101, {"a", "", "b"}},
  });
}

TEST(StringSplit, AppendsToWhatTheListHolds) {
  Array<String> out;
  out.Append(String("first"));
  EXPECT_EQ(String("x;y").Split(out, ";"), 2);
  EXPECT_EQ(Pieces(out), (std::vector<std::string>{"first", "x", "y"}));
  EXPECT_EQ(String("x;z;first").Split(out, ";", 0x0100), 1);  // already present: not added
  EXPECT_EQ(Pieces(out), (std::vector<std::string>{"first", "x", "y", "z"}));
}

// 0x0100 removes duplicates from the whole list once the split is done: entries the list held
// before are compared too, and a repeat among them goes as well; the first occurrence stays.
// The result counts this text's pieces that remain.
TEST(StringSplit, UniquePiecesAreRemovedFromTheWholeList) {
  Array<String> out;
  for (const char* entry : {"a", "b", "a"}) out.Append(String(entry));
  EXPECT_EQ(String("c;b;c;d").Split(out, ";", 0x0100), 2);
  EXPECT_EQ(Pieces(out), (std::vector<std::string>{"a", "b", "c", "d"}));
  // Without the flag the list's own repeats stay.
  Array<String> kept;
  for (const char* entry : {"a", "a"}) kept.Append(String(entry));
  EXPECT_EQ(String("a").Split(kept, ";"), 1);
  EXPECT_EQ(Pieces(kept), (std::vector<std::string>{"a", "a", "a"}));
}

}  // namespace
