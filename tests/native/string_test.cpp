// String: construction, assignment, buffer management and access.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/checksum.h"
#include "core/memory.h"
#include "core/string.h"
#include "tests/native/allocation_failure_test_support.h"
#include "string_test_support.h"

using namespace std::string_literals;
using string_test::Bytes;
using string_test::ExpectValid;
using string_test::Make;

namespace {

TEST(StringConstruction, NewStringHasSharedEmptyTextAndNoBuffer) {
  String a;
  String b;
  ASSERT_NE(a.CStr(), nullptr);
  EXPECT_STREQ(a.CStr(), "");
  EXPECT_EQ(a.CStr(), b.CStr());  // one static empty text for the whole program
  EXPECT_FALSE(a.HasBuffer());
  EXPECT_EQ(a.Length(), 0);
  EXPECT_EQ(a.Capacity(), 0);
  EXPECT_TRUE(a.IsEmpty());
}

TEST(StringConstruction, FormsCopyTheirSource) {
  String fromText("abc");
  EXPECT_EQ(Bytes(fromText), "abc");
  EXPECT_EQ(fromText.Capacity(), 3 + 21);
  ExpectValid(fromText);

  String fromNull(static_cast<const char*>(nullptr));
  EXPECT_FALSE(fromNull.HasBuffer());

  String counted("a\0b\0"s.data(), 4);
  EXPECT_EQ(Bytes(counted), "a\0b\0"s);
  ExpectValid(counted);

  String none("abc", 0);
  EXPECT_FALSE(none.HasBuffer());

  String single('x');
  EXPECT_EQ(Bytes(single), "x");
  ExpectValid(single);
}

TEST(StringConstruction, CopiesAreDeepAndKeepInnerNuls) {
  String original = Make("ab\0cd"s);
  String copy(original);
  copy.Data()[0] = 'X';
  EXPECT_EQ(Bytes(original), "ab\0cd"s);
  EXPECT_EQ(Bytes(copy), "Xb\0cd"s);
  String assigned;
  assigned = original;
  EXPECT_EQ(Bytes(assigned), "ab\0cd"s);
  EXPECT_NE(assigned.CStr(), original.CStr());
}

TEST(StringConstruction, MoveLeavesSourceEmpty) {
  String source("moved text");
  const char* buffer = source.CStr();
  String target(static_cast<String&&>(source));
  EXPECT_EQ(target.CStr(), buffer);
  EXPECT_FALSE(source.HasBuffer());
  String other("x");
  other = static_cast<String&&>(target);
  EXPECT_EQ(other.CStr(), buffer);
  EXPECT_FALSE(target.HasBuffer());
}

TEST(StringAssign, FollowsCountAndNullRules) {
  struct Case {
    const char* src;
    int n;
    const char* expected;
    bool hasBuffer;
  };
  const Case cases[] = {
      {"hello", String::kAll, "hello", true},  // measured up to the NUL
      {"hello", 3, "hel", true},
      {"hello", 0, "", false},
      {"hello", -4, "", false},
      {nullptr, 5, "", false},
      {nullptr, String::kAll, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    String s("previous contents");
    s.Assign(c.src, c.n);
    EXPECT_EQ(Bytes(s), c.expected);
    EXPECT_EQ(s.HasBuffer(), c.hasBuffer);
    ExpectValid(s);
  }
}

TEST(StringAssign, FromItsOwnTextCopiesCorrectly) {
  String s("hello world");
  s.Assign(s.CStr() + 6);
  EXPECT_EQ(Bytes(s), "world");
  EXPECT_EQ(s.Capacity(), 5 + 21);  // a fresh buffer of n + 21 bytes
  s.Assign(s.CStr() + 1, 2);
  EXPECT_EQ(Bytes(s), "or");
  ExpectValid(s);

  // A long string, so that any reuse of the freed buffer would be caught by the sanitizer.
  String longer(std::string(1000, 'a').append("tail").c_str());
  longer.Assign(longer.CStr() + 996);
  EXPECT_EQ(Bytes(longer), "aaaatail");
}

TEST(StringAssign, FromItsOwnTextIsClippedToTheCountedBytes) {
  String s("abc");
  s.Assign(s.CStr() + 1, 100);
  EXPECT_EQ(Bytes(s), "bc");
  s.Assign(s.CStr() + 2, 5);  // the terminator: nothing left to copy
  EXPECT_FALSE(s.HasBuffer());
}

TEST(StringAssign, ToItselfIsANoOp) {
  String s("same");
  const char* buffer = s.CStr();
  s.Assign(s);
  EXPECT_EQ(s.CStr(), buffer);
  s.Assign(s.CStr(), s.Length());
  EXPECT_EQ(s.CStr(), buffer);
  String& alias = s;
  s = alias;
  EXPECT_EQ(s.CStr(), buffer);
  EXPECT_EQ(Bytes(s), "same");
}

TEST(StringAssign, BoundedStopsAtMaxOrNul) {
  struct Case {
    const char* src;
    int max;
    const char* expected;
  };
  const Case cases[] = {
      {"abcdef", 3, "abc"}, {"ab", 5, "ab"}, {"abc", 0, ""}, {"abc", -1, ""}, {nullptr, 3, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.max);
    String s("old");
    s.AssignBounded(c.src, c.max);
    EXPECT_EQ(Bytes(s), c.expected);
    ExpectValid(s);
  }
}

TEST(StringAssign, AdoptTakesABufferAndTerminatesIt) {
  char* block = static_cast<char*>(MemAllocate(5));
  std::memcpy(block, "hello", 5);  // no terminator
  String s("old");
  s.Adopt(block, 5);
  EXPECT_EQ(Bytes(s), "hello");
  EXPECT_EQ(s.Capacity(), 6);
  ExpectValid(s);

  // n < 1 frees the buffer (the leak checker would report it otherwise) and empties the string.
  s.Adopt(static_cast<char*>(MemAllocate(8)), 0);
  EXPECT_FALSE(s.HasBuffer());
}

TEST(StringAssign, ClearReleasesEverything) {
  String s("abc");
  s.Clear();
  EXPECT_FALSE(s.HasBuffer());
  EXPECT_EQ(s.Length(), 0);
  EXPECT_EQ(s.Capacity(), 0);
}

TEST(StringResize, KeepsOrReplacesTheBufferByTheIdleRule) {
  struct Case {
    int start;
    int n;
    int capacity;  // expected afterwards; the buffer starts at start + 21
  };
  const Case cases[] = {
      {1000, 1000, 1021},  // same length: nothing happens
      {1000, 1020, 1021},  // grows within the buffer
      {1000, 1021, 1042},  // no room for the terminator: reallocated to n + 21
      {1000, 5000, 5021},
      {1000, 509, 1021},   // exactly 512 bytes idle: kept
      {1000, 508, 529},    // 513 idle: shrunk to n + 21
      {10, 3, 31},         // small shrinks never reallocate
      {1000, 0, 0},        // released
      {1000, -7, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " -> " << c.n);
    String s;
    s.Resize(c.start);
    ASSERT_EQ(s.Capacity(), c.start + 21);
    std::memset(s.Data(), 'q', size_t(c.start));
    s.Resize(c.n);
    EXPECT_EQ(s.Capacity(), c.capacity);
    EXPECT_EQ(s.Length(), c.n < 0 ? 0 : c.n);
    EXPECT_EQ(s.HasBuffer(), c.n > 0);
    ExpectValid(s);
    int kept = c.n < c.start ? c.n : c.start;
    for (int i = 0; i < kept; ++i) ASSERT_EQ(s.CStr()[i], 'q') << i;
  }
}

TEST(StringResize, AppendingOneByteAtATimeReallocatesEvery21Bytes) {
  String s;
  int reallocations = 0;
  int capacity = s.Capacity();
  for (int i = 0; i < 210; ++i) {
    s.AppendChar(char('a' + i % 26));
    if (s.Capacity() != capacity) {
      ++reallocations;
      capacity = s.Capacity();
    }
  }
  // Growth happens at lengths 1, 22, 43, ..., 190, each time to the length plus 21.
  EXPECT_EQ(reallocations, 10);
  EXPECT_EQ(s.Capacity(), 190 + 21);
}

TEST(StringResize, TryResizeBehavesLikeResizeAndRestoresTheHandler) {
  String s("abc");
  EXPECT_TRUE(s.TryResize(100));
  EXPECT_EQ(s.Length(), 100);
  EXPECT_EQ(s.Capacity(), 121);
  EXPECT_TRUE(s.TryResize(2));
  EXPECT_EQ(Bytes(s), "ab");
  EXPECT_TRUE(s.TryResize(0));
  EXPECT_FALSE(s.HasBuffer());
  EXPECT_TRUE(SetOutOfMemoryHandlerEnabled(true)) << "the handler was left switched off";
}

TEST(StringResize, LengthsBeyondThirtyTwoBitsFailWithoutChange) {
  String s("abc");
  const char* buffer = s.CStr();
  EXPECT_FALSE(s.TryResize(String::kAll));
  EXPECT_EQ(s.TryGrow(String::kAll), nullptr);
  EXPECT_EQ(s.TryGrow(String::kAll - 3), nullptr);
  EXPECT_EQ(Bytes(s), "abc");
  EXPECT_EQ(s.CStr(), buffer);
  EXPECT_TRUE(SetOutOfMemoryHandlerEnabled(true));
}

TEST(StringResize, TryGrowReturnsTheNewBytes) {
  String s("ab");
  char* p = s.TryGrow(3);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p, s.Data() + 2);
  std::memcpy(p, "cde", 3);
  EXPECT_EQ(Bytes(s), "abcde");
  EXPECT_EQ(s.TryGrow(-1), nullptr);
  EXPECT_EQ(Bytes(s), "abcde");
  EXPECT_EQ(s.TryGrow(0), s.Data() + 5);
}

TEST(StringResize, GrowReturnsTheNewBytesOrTheEnd) {
  String s("ab");
  EXPECT_EQ(s.Grow(0), s.Data() + 2);
  EXPECT_EQ(s.Grow(-3), s.Data() + 2);
  EXPECT_EQ(s.Length(), 2);
  char* p = s.Grow(2);
  std::memcpy(p, "cd", 2);
  EXPECT_EQ(Bytes(s), "abcd");
  String empty;
  EXPECT_EQ(empty.Grow(0), nullptr);  // no buffer, no end
  ExpectValid(s);
}

TEST(StringResize, SetLengthWithinCapacityRaisesOnlyInsideTheBuffer) {
  String s("abc");  // capacity 24
  EXPECT_FALSE(s.SetLengthWithinCapacity(10));
  EXPECT_EQ(s.Length(), 10);
  EXPECT_EQ(s.Capacity(), 24);
  EXPECT_FALSE(s.SetLengthWithinCapacity(5));  // never lowers
  EXPECT_EQ(s.Length(), 10);
  EXPECT_TRUE(s.SetLengthWithinCapacity(24));
  EXPECT_EQ(s.Length(), 24);
  EXPECT_EQ(s.Capacity(), 45);
  ExpectValid(s);
}

TEST(StringResize, SyncLengthAndShrink) {
  String s;
  s.Resize(10);
  std::strcpy(s.Data(), "abc");
  s.SyncLength();
  EXPECT_EQ(Bytes(s), "abc");
  s.Shrink(1);
  EXPECT_EQ(Bytes(s), "ab");
  s.Shrink(5);
  EXPECT_FALSE(s.HasBuffer());
  s.SyncLength();  // no buffer: nothing to measure
  EXPECT_EQ(s.Length(), 0);
}

// A failed allocation: AddressSanitizer refuses requests above 1 MiB and returns null.
class StringAllocationFailureTest : public AllocationFailureTest {
 protected:
  StringAllocationFailureTest() : AllocationFailureTest("max_allocation_size_mb=1") {}
  static constexpr int kTooBig = 4 << 20;
};

TEST_F(StringAllocationFailureTest, TryResizeReportsFailureAndKeepsTheString) {
  EXPECT_EXIT(
      {
        String s("abc");
        const char* buffer = s.CStr();
        bool resized = s.TryResize(kTooBig);
        char* grown = s.TryGrow(kTooBig);
        bool handlerWasOn = SetOutOfMemoryHandlerEnabled(true);
        bool unchanged = s.CStr() == buffer && s.Length() == 3 && s.Capacity() == 24 &&
                         std::strcmp(s.CStr(), "abc") == 0;
        std::_Exit(!resized && grown == nullptr && handlerWasOn && unchanged ? 42 : 43);
      },
      ::testing::ExitedWithCode(42), "");
}

TEST_F(StringAllocationFailureTest, ResizeGoesToTheOutOfMemoryHandler) {
  EXPECT_EXIT(
      {
        String s("abc");
        s.Resize(kTooBig);
      },
      ::testing::ExitedWithCode(1), "Out Of Memory\\.");
  EXPECT_EXIT(
      {
        String s("abc");
        s.Grow(kTooBig);
      },
      ::testing::ExitedWithCode(1), "Out Of Memory\\.");
}

TEST(StringAccess, CharactersAndEdges) {
  String s("ab\r");
  const struct {
    int i;
    char expected;
  } cases[] = {{-1, '\0'}, {0, 'a'}, {2, '\r'}, {3, '\0'}, {String::kAll, '\0'}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.i);
    EXPECT_EQ(s.CharAt(c.i), c.expected);
  }
  EXPECT_EQ(s.FirstChar(), 'a');
  EXPECT_EQ(s.LastChar(), '\r');
  EXPECT_TRUE(s.StartsWithChar('a'));
  EXPECT_FALSE(s.StartsWithChar('b'));
  EXPECT_TRUE(s.EndsWithChar('\r'));
  EXPECT_TRUE(s.EndsWithLineBreak());
  EXPECT_TRUE(String("x\n").EndsWithLineBreak());
  EXPECT_FALSE(String("x\t").EndsWithLineBreak());
  EXPECT_TRUE(s.ContainsChar('b'));
  EXPECT_FALSE(s.ContainsChar('c'));
  EXPECT_TRUE(s.ContainsWhitespace());
  EXPECT_FALSE(String("a-b").ContainsWhitespace());
  EXPECT_TRUE(String("a\tb").ContainsWhitespace());

  String empty;
  EXPECT_EQ(empty.FirstChar(), '\0');
  EXPECT_EQ(empty.LastChar(), '\0');
  EXPECT_FALSE(empty.StartsWithChar('\0'));
  EXPECT_FALSE(empty.EndsWithChar('\0'));
  EXPECT_FALSE(empty.EndsWithLineBreak());
  EXPECT_FALSE(empty.ContainsChar('\0'));
}

TEST(StringAccess, ContainsCharSeesCountedNuls) {
  EXPECT_TRUE(Make("a\0b"s).ContainsChar('\0'));
  EXPECT_TRUE(Make("a\0b"s).ContainsChar('b'));
}

TEST(StringAccess, CharPtrAtPointsIntoTheBuffer) {
  String s("abc");
  EXPECT_EQ(s.CharPtrAt(0), s.Data());
  EXPECT_EQ(s.CharPtrAt(2), s.Data() + 2);
}

TEST(StringAccessDeathTest, CharPtrAtOutOfRangeIsAnInternalFatalError) {
  const char* expected = "Internal Fatal Error\r\nModule: Core.cpp\r\nLine: 840";
  EXPECT_EXIT(
      {
        String s("abc");
        s.CharPtrAt(3);
      },
      ::testing::ExitedWithCode(1), expected);
  EXPECT_EXIT(
      {
        String s("abc");
        s.CharPtrAt(-1);
      },
      ::testing::ExitedWithCode(1), expected);
  EXPECT_EXIT(
      {
        String s;
        s.CharPtrAt(0);
      },
      ::testing::ExitedWithCode(1), expected);
}

TEST(StringAccess, ReadsLittleEndianWordsInsideTheLength) {
  String s = Make("\x01\x02\x03\x04\x85"s);
  const struct {
    int offset;
    uint32_t expected;
  } cases[] = {{0, 0x04030201u}, {1, 0x85040302u}, {2, 0xFFFFFFFFu}, {-1, 0xFFFFFFFFu},
               {String::kAll, 0xFFFFFFFFu}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.offset);
    EXPECT_EQ(s.ReadU32At(c.offset), c.expected);
  }
  EXPECT_EQ(String().ReadU32At(0), 0xFFFFFFFFu);
}

TEST(StringAccess, WritesWordsOnlyWhenTheyFit) {
  String s = Make(std::string(6, '\0'));
  EXPECT_TRUE(s.WriteU16At(0, 0xBEEF));
  EXPECT_TRUE(s.WriteU32At(2, 0x12345678u));
  EXPECT_EQ(Bytes(s), "\xEF\xBE\x78\x56\x34\x12"s);
  EXPECT_FALSE(s.WriteU16At(5, 1));
  EXPECT_FALSE(s.WriteU32At(3, 1));
  EXPECT_FALSE(s.WriteU16At(-1, 1));
  EXPECT_FALSE(s.WriteU32At(-1, 1));
  EXPECT_TRUE(s.WriteU16At(4, 0x0201));
  EXPECT_EQ(Bytes(s), "\xEF\xBE\x78\x56\x01\x02"s);
  ExpectValid(s);
}

TEST(StringAccess, CopyOutChecksTheRange) {
  String s("abcdef");
  const struct {
    int offset;
    int n;
    bool ok;
    const char* copied;
  } cases[] = {
      {0, 6, true, "abcdef"}, {2, 3, true, "cde"},   {4, 2, true, "ef"},
      {6, 0, true, ""},       {5, 2, false, ""},     {-1, 2, false, ""},
      {2, -1, false, ""},     {1, String::kAll, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.offset << "," << c.n);
    char out[8] = "#######";
    EXPECT_EQ(s.CopyOut(out, c.offset, c.n), c.ok);
    size_t copied = std::strlen(c.copied);
    EXPECT_EQ(std::string(out, copied), c.copied);
    EXPECT_EQ(out[copied], '#');  // nothing beyond the copied bytes
  }
}

TEST(StringAccess, HashIsTheArchiveChecksumOfTheCountedBytes) {
  EXPECT_EQ(String().Hash(), 0x79E2BC9Du);
  // One whole word and the length.
  EXPECT_EQ(String("abcd").Hash(), 0x79E2BC9Du + 0x64636261u + 4u);
  // A remaining byte of 0x80 or more is added sign-extended.
  EXPECT_EQ(Make("\x80"s).Hash(), 0x79E2BC9Du + 0xFFFFFF80u + 1u);
  String binary = Make("ab\0cd\xFF"s);
  EXPECT_EQ(binary.Hash(), ArchiveChecksum("ab\0cd\xFF", 6));
}

}  // namespace
