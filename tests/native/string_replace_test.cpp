// String: Replace, RemoveAll and SubstituteWildcards.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "core/string.h"
#include "string_test_support.h"

using namespace std::string_literals;
using string_test::Bytes;
using string_test::ExpectValid;
using string_test::Make;

namespace {

constexpr int kAll = String::kAll;

struct ReplaceCase {
  const char* text;
  const char* pattern;
  const char* value;
  int flags;
  int start;
  int maxCount;
  int skip;
  int result;
  const char* expected;
};

void RunReplaceCases(const ReplaceCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const ReplaceCase& c = cases[i];
    SCOPED_TRACE(testing::Message() << "\"" << c.text << "\" pattern \"" << c.pattern
                                    << "\" value \"" << (c.value ? c.value : "(null)")
                                    << "\" flags 0x" << std::hex << c.flags << std::dec
                                    << " start " << c.start << " max " << c.maxCount << " skip "
                                    << c.skip);
    String s(c.text);
    EXPECT_EQ(s.Replace(c.pattern, c.value, c.flags, c.start, c.maxCount, c.skip), c.result);
    EXPECT_EQ(Bytes(s), c.expected);
    ExpectValid(s);
  }
}

TEST(StringReplace, ReplacesEveryHit) {
  const ReplaceCase cases[] = {
      {"%a%-%A%", "%A%", "xyz", 0x0001, 0, kAll, 0, 2, "xyz-xyz"},
      {"%a%-%A%", "%A%", "xyz", 0, 0, kAll, 0, 1, "%a%-xyz"},
      {"ababab", "ab", "", 0, 0, kAll, 0, 3, ""},
      {"ababab", "ab", nullptr, 0, 0, kAll, 0, 3, ""},
      {"a.b.c", ".", "--", 0, 0, kAll, 0, 2, "a--b--c"},    // longer value
      {"a--b--c", "--", ".", 0, 0, kAll, 0, 2, "a.b.c"},    // shorter value
      {"aaa", "a", "aa", 0, 0, kAll, 0, 3, "aaaaaa"},       // the value is not scanned again
      {"aaaa", "aa", "b", 0, 0, kAll, 0, 2, "bb"},
      {"aaa", "aa", "b", 0, 0, kAll, 0, 1, "ba"},           // hits do not overlap
      {"xyx", "x", "ab", 0, 0, kAll, 0, 2, "abyab"},        // hits at both ends
      {"abc", "b", "b", 0, 0, kAll, 0, 1, "abc"},
      {"", "a", "b", 0, 0, kAll, 0, 0, ""},
      {"abc", "x", "y", 0, 0, kAll, 0, 0, "abc"},
  };
  RunReplaceCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringReplace, StartMaxCountAndSkip) {
  const ReplaceCase cases[] = {
      {"abcabc", "bc", "X", 0, 3, kAll, 0, 1, "abcaX"},
      {"abcabc", "bc", "X", 0, -3, kAll, 0, 2, "aXaX"},
      {"abcabcabc", "bc", "X", 0, 0, 1, 0, 1, "aXabcabc"},
      {"abcabcabc", "bc", "XYZ", 0, 0, 2, 0, 2, "aXYZaXYZabc"},
      {"abcabcabc", "bc", "X", 0, 0, kAll, 1, 3, "abcaXaX"},      // the first hit stays
      {"abcabcabc", "bc", "XYZ", 0, 0, 1, 1, 2, "abcaXYZabc"},    // skip 1, then replace 1
      {"abcabcabc", "bc", "bc", 0, 0, 1, 1, 2, "abcabcabc"},
      {"abc", "b", "X", 0, 0, kAll, 5, 1, "abc"},                 // fewer hits than skip
      {"abc", "b", "X", 0, 0, 0, 0, 0, "abc"},                    // nothing allowed
      {"abc", "b", "X", 0, 0, -1, 0, 0, "abc"},
      {"abc", "", "X", 0, 0, kAll, 0, 0, "abc"},
      {"abc", nullptr, "X", 0, 0, kAll, 0, 0, "abc"},
  };
  RunReplaceCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringReplace, FirstOnlyReturnsThePosition) {
  const ReplaceCase cases[] = {
      {"abcabc", "bc", "X", 0x0008, 0, kAll, 0, 1, "aXabc"},
      {"abcabc", "bc", "XYZ", 0x0008, 0, kAll, 1, 4, "abcaXYZ"},  // the skipped hit is not it
      {"abcabc", "bc", "X", 0x0008, 0, kAll, 2, -1, "abcabc"},
      {"abcabc", "q", "X", 0x0008, 0, kAll, 0, -1, "abcabc"},
      {"abcabc", "bc", "X", 0x0008, 0, 0, 0, -1, "abcabc"},
      {"abcabc", "", "X", 0x0008, 0, kAll, 0, -1, "abcabc"},
  };
  RunReplaceCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringReplace, FindFlagsApplyAndDirectionFlagsAreIgnored) {
  const ReplaceCase cases[] = {
      {"cat catalog cat", "cat", "dog", 0x0002, 0, kAll, 0, 2, "dog catalog dog"},
      {"cat catalog cat", "cat", "mouse", 0x0002, 0, kAll, 0, 2, "mouse catalog mouse"},
      {"a \"a\" a", "a", "bb", 0x0010, 0, kAll, 0, 2, "bb \"a\" bb"},
      {"abab", "ab", "X", 0x2020, 0, kAll, 0, 2, "XX"},
      {"a,b;c", ",;", "-", 0x4000, 0, kAll, 0, 0, "a,b;c"},  // any-of is not a Replace flag
  };
  RunReplaceCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringReplace, WildcardValuesTakeTheMatchedBytes) {
  const ReplaceCase cases[] = {
      {"x1y x2y", "x?y", "<?>", 0x0004, 0, kAll, 0, 2, "<1> <2>"},     // same length
      {"a1b a2b", "a?b", "[?-?]", 0x0004, 0, kAll, 0, 2, "[1-?] [2-?]"},  // longer
      {"k12k k34k", "k??k", "??", 0x0004, 0, kAll, 0, 2, "12 34"},       // shorter
      {"ab", "?b", "X?", 0x0004, 0, kAll, 0, 1, "Xa"},   // the value overwrites its own source
      {"ab", "?b", "?", 0x0004, 0, kAll, 0, 1, "a"},
      {"AB", "a?", "?x?", 0x0005, 0, kAll, 0, 1, "Bx?"},
      {"x1y", "x?y", "<?>", 0, 0, kAll, 0, 0, "x1y"},   // without the flag '?' is literal
      {"x?y", "x?y", "<?>", 0, 0, kAll, 0, 1, "<?>"},
  };
  RunReplaceCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(StringReplace, KeepsInnerNulsOfTheText) {
  String s = Make("a\0%X%\0%X%"s);
  EXPECT_EQ(s.Replace("%X%", "long value", 0), 2);
  EXPECT_EQ(Bytes(s), "a\0long value\0long value"s);
  EXPECT_EQ(s.Replace("long value", "v", 0), 2);
  EXPECT_EQ(Bytes(s), "a\0v\0v"s);
}

// The one-pass rebuild must give what a plain left-to-right rewrite gives, for every placement
// of hits: adjacent ones, ones at both ends, many per text, longer and shorter values.
std::string ReferenceReplace(const std::string& text, const std::string& pattern,
                             const std::string& value, int& count) {
  std::string out;
  count = 0;
  size_t pos = 0;
  for (;;) {
    size_t hit = text.find(pattern, pos);
    if (hit == std::string::npos) break;
    out.append(text, pos, hit - pos).append(value);
    pos = hit + pattern.size();
    ++count;
  }
  return out.append(text, pos, std::string::npos);
}

TEST(StringReplace, MatchesAPlainRewriteOnRandomTexts) {
  std::mt19937 random(12345);
  const char* patterns[] = {"ab", "a", "aba", "bb"};
  const char* values[] = {"", "x", "xyz", "abab", "q", "ba"};
  for (int round = 0; round < 400; ++round) {
    std::string text;
    int length = int(random() % 60);
    for (int i = 0; i < length; ++i) text += char('a' + random() % 3);
    std::string pattern = patterns[random() % 4];
    std::string value = values[random() % 6];
    SCOPED_TRACE(text + " / " + pattern + " -> " + value);
    int expectedCount = 0;
    std::string expected = ReferenceReplace(text, pattern, value, expectedCount);
    String s(text.c_str());
    EXPECT_EQ(s.Replace(pattern.c_str(), value.c_str()), expectedCount);
    EXPECT_EQ(Bytes(s), expected);
    ExpectValid(s);
  }
}

TEST(StringReplace, AsInstallVariableSubstitution) {
  String path("%InstallDir%\\bin;%installdir%\\lib");
  EXPECT_EQ(path.Replace("%INSTALLDIR%", "C:\\Program Files\\App", 0x0001, 0, kAll, 0), 2);
  EXPECT_EQ(Bytes(path), "C:\\Program Files\\App\\bin;C:\\Program Files\\App\\lib");
}

TEST(StringRemoveAll, ErasesUpToMaxCount) {
  struct Case {
    const char* text;
    const char* needle;
    int maxCount;
    bool caseSensitive;
    int result;
    const char* expected;
  };
  const Case cases[] = {
      {"a-b-c", "-", kAll, true, 2, "abc"},   {"aXbxc", "x", kAll, false, 2, "abc"},
      {"aXbxc", "x", kAll, true, 1, "aXbc"},  {"a-b-c", "-", 1, true, 1, "ab-c"},
      {"aabb", "ab", kAll, true, 1, "ab"},    {"abc", "", kAll, true, 0, "abc"},
      {"abc", nullptr, kAll, true, 0, "abc"}, {"abc", "b", 0, true, 0, "abc"},
      {"bbb", "b", kAll, true, 3, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " " << (c.needle ? c.needle : "(null)") << " "
                                    << c.maxCount << " " << c.caseSensitive);
    String s(c.text);
    EXPECT_EQ(s.RemoveAll(c.needle, c.maxCount, c.caseSensitive), c.result);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

// An argument taken from the string's own buffer (a suffix of it, as CStr() + offset gives)
// must act as a copy of itself would: when the text grows the buffer is reallocated under it,
// when hits are overwritten or erased its bytes change. Each case is checked against the same
// call with the argument copied out first.
TEST(StringReplace, ArgumentsInsideTheStringItselfActAsCopies) {
  const std::string longTail(40, 'y');
  const std::string longValue = std::string(90, 'v') + "?";
  const struct {
    const char* label;
    std::string text;
    bool patternInside;  // else the value is the suffix of the text
    int offset;
    std::string other;  // the argument that is not taken from the text
    int flags;
    int result;
    std::string expected;  // empty: only the comparison with the copied arguments
  } cases[] = {
      {"value grows the text past its buffer", "x" + longTail, false, 0, "x", 0, 1,
       "x" + longTail + longTail},
      {"value shrinks the text", "abcd", false, 3, "bc", 0, 1, "add"},
      {"wildcard pattern while the text grows past its buffer", "xa?" + longTail, true, 1,
       longValue, String::kWildcard, 1, ""},
      {"pattern overwritten by its own hit", "aXbX", true, 1, "YYY", 0, 1, "aYYY"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::string inside = c.text.substr(size_t(c.offset));
    String copied(c.text.c_str());
    int copiedResult = c.patternInside ? copied.Replace(inside.c_str(), c.other.c_str(), c.flags)
                                       : copied.Replace(c.other.c_str(), inside.c_str(), c.flags);
    String s(c.text.c_str());
    const char* own = s.CStr() + c.offset;
    int result = c.patternInside ? s.Replace(own, c.other.c_str(), c.flags)
                                 : s.Replace(c.other.c_str(), own, c.flags);
    EXPECT_EQ(result, copiedResult);
    EXPECT_EQ(Bytes(s), Bytes(copied));
    ExpectValid(s);
    if (!c.expected.empty()) {
      EXPECT_EQ(result, c.result);
      EXPECT_EQ(Bytes(s), c.expected);
    }
  }
}

TEST(StringRemoveAll, ANeedleInsideTheStringItselfActsAsACopy) {
  const std::string big(600, 'q');  // erasing it frees more than the buffer keeps idle
  const struct {
    const char* label;
    std::string text;
    int offset;
    int result;
    std::string expected;
  } cases[] = {
      {"needle cut off by the first removal", "aaaa", 3, 4, ""},
      {"buffer reallocated by the first removal", big + big, 600, 2, ""},
      {"needle in the middle", "ab-ab-ab", 6, 3, "--"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    String s(c.text.c_str());
    EXPECT_EQ(s.RemoveAll(s.CStr() + c.offset), c.result);
    EXPECT_EQ(Bytes(s), c.expected);
    ExpectValid(s);
  }
}

TEST(SubstituteWildcards, ResolvesEachQuestionMarkInTurn) {
  struct Case {
    const char* replacement;
    const char* pattern;
    std::string matched;
    const char* expected;
  };
  const Case cases[] = {
      {"<?>", "a?c", "abc", "<b>"},
      {"??", "?x?", "1x2", "12"},
      {"???", "?x?", "1x2", "12?"},  // the pattern has no third '?'
      {"a?b", "xyz", "xyz", "a?b"},
      {"?", "?", "\0"s, "?"},        // a matched NUL leaves the '?'
      {"?-?", "??", "\0z"s, "?-z"},  // ... and the cursors still move on
      {"", "?", "a", ""},
      {"plain", "?", "a", "plain"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.replacement << " " << c.pattern);
    char dest[16];
    std::memset(dest, '#', sizeof dest);
    SubstituteWildcards(dest, c.replacement, c.pattern, c.matched.c_str());
    size_t n = std::strlen(c.replacement);
    EXPECT_EQ(std::string(dest, n), c.expected);
    EXPECT_EQ(dest[n], '#');  // exactly as long as the replacement
  }
}

TEST(SubstituteWildcards, MatchedTextDefaultsToDest) {
  // The first output byte overwrites the byte that the second one takes.
  char dest[] = "1k";
  SubstituteWildcards(dest, "x?", "?k");
  EXPECT_STREQ(dest, "x1");
  char longer[] = "ab#";
  SubstituteWildcards(longer, "??", "??");
  EXPECT_STREQ(longer, "ab#");
}

}  // namespace
