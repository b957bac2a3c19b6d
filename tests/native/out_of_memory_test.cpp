#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "core/memory.h"
#include "core/out_of_memory.h"
#include "tests/native/allocation_failure_test_support.h"

namespace {

const char kHeader4096[] =
    "Out Of Memory.  Make sure your hard drive is not full.\n"
    "Requested size = 4096 (0x00001000)\n\nStack contents:";

// A request no allocator can satisfy, on 32-bit hosts too: larger than any object may be
// (PTRDIFF_MAX). operator new and malloc see it as a plain size.
size_t ImpossibleSize() { return SIZE_MAX / 2 + 1; }

std::string ShownSize(size_t size) {
  char text[64];
  unsigned long long whole = size;
  std::snprintf(text, sizeof text, "Requested size = %llu \\(0x%08llX\\)", whole, whole);
  return text;
}

// Requests that no allocator can satisfy.
using ImpossibleAllocationTest = AllocationFailureTest;

// The message of a failed request: the size twice, then the dump beginning with the markers.
std::string DeathPattern(size_t size) {
  return "Out Of Memory\\.  Make sure your hard drive is not full\\.\n" + ShownSize(size) +
         "\n\nStack contents:\r11223344 55667788 [0-9A-F]{8} ";
}

TEST_F(ImpossibleAllocationTest, MemAllocateEndsTheProcessWithTheMessage) {
  EXPECT_EXIT(MemAllocate(ImpossibleSize()), ::testing::ExitedWithCode(1),
              DeathPattern(ImpossibleSize()));
}

TEST_F(ImpossibleAllocationTest, MemReallocateEndsTheProcessWithTheMessage) {
  EXPECT_EXIT(
      {
        void* block = MemAllocate(16);
        MemReallocate(block, ImpossibleSize());
      },
      ::testing::ExitedWithCode(1), DeathPattern(ImpossibleSize()));
}

TEST_F(ImpossibleAllocationTest, ObjectConstructionEndsTheProcessWithTheMessage) {
  volatile size_t size = ImpossibleSize();
  // Kept where the compiler must assume it is read, so that it may not leave the allocation out.
  static char* volatile kept;
  EXPECT_EXIT(kept = new char[size], ::testing::ExitedWithCode(1), DeathPattern(ImpossibleSize()));
  EXPECT_EXIT(
      {
        kept = new (std::nothrow) char[size];
        if (kept == nullptr) std::_Exit(3);
      },
      ::testing::ExitedWithCode(1), DeathPattern(ImpossibleSize()));
}

// With the handler off (String::TryResize's window), a failure is a null result; the previous
// setting comes back from the switch so that it can be restored.
TEST_F(ImpossibleAllocationTest, SwitchedOffHandlerReturnsNull) {
  EXPECT_EXIT(
      {
        bool wasOn = SetOutOfMemoryHandlerEnabled(false);
        void* block = MemAllocate(ImpossibleSize());
        void* small = MemAllocate(16);
        void* moved = MemReallocate(small, ImpossibleSize());
        bool wasOff = !SetOutOfMemoryHandlerEnabled(true);
        std::_Exit(wasOn && wasOff && block == nullptr && moved == nullptr ? 42 : 43);
      },
      ::testing::ExitedWithCode(42), "");
}

TEST(OutOfMemoryTest, RequestOf4096BytesShowsSizeAndMarkers) {
  EXPECT_EXIT(OutOfMemory(4096), ::testing::ExitedWithCode(1),
              "Requested size = 4096 \\(0x00001000\\)\n\nStack contents:\r11223344 55667788 ");
}

TEST(OutOfMemoryTest, HandlerIsOnByDefault) {
  bool wasOn = SetOutOfMemoryHandlerEnabled(true);
  EXPECT_TRUE(wasOn);
}

TEST(OutOfMemoryTest, ZeroByteRequestsGiveRealBlocks) {
  void* block = MemAllocate(0);
  ASSERT_NE(block, nullptr);
  block = MemReallocate(block, 0);
  ASSERT_NE(block, nullptr);
  MemFree(block);
}

TEST(OutOfMemoryTest, ReallocateKeepsContents) {
  char* block = static_cast<char*>(MemAllocate(4));
  std::memcpy(block, "abc", 4);
  block = static_cast<char*>(MemReallocate(block, 100000));
  EXPECT_STREQ(block, "abc");
  MemFree(block);
  void* fresh = MemReallocate(nullptr, 8);  // null block: a fresh allocation
  EXPECT_NE(fresh, nullptr);
  MemFree(fresh);
}

class OutOfMemoryTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < kStackDumpWords; ++i) words_[i] = 0x01010101u * uint32_t(i);
    words_[0] = kStackDumpMarkerLow;
    words_[1] = kStackDumpMarkerHigh;
    words_[2] = 0xDEADBEEF;
    words_[3] = 0x0000ABCD;
    words_[79] = 0xFFFFFFFF;
  }
  uint32_t words_[kStackDumpWords];
};

TEST_F(OutOfMemoryTextTest, HeaderThenTenRowsOfEightWords) {
  char text[kOutOfMemoryTextCapacity];
  int length = FormatOutOfMemoryText(text, sizeof text, 4096, words_);
  const size_t headerLength = sizeof kHeader4096 - 1;
  ASSERT_EQ(length, int(headerLength + kStackDumpWords * 9));
  ASSERT_EQ(std::strlen(text), size_t(length));
  EXPECT_EQ(std::string(text, headerLength), kHeader4096);

  const char* dump = text + headerLength;
  EXPECT_EQ(std::string(dump, 72),
            "\r11223344 55667788 DEADBEEF 0000ABCD 04040404 05050505 06060606 07070707");
  EXPECT_EQ(std::string(dump + 72, 9), "\r08080808");
  EXPECT_EQ(std::string(dump + 79 * 9), " FFFFFFFF");
  for (int i = 0; i < kStackDumpWords; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(dump[i * 9], i % 8 == 0 ? '\r' : ' ');
  }
}

TEST_F(OutOfMemoryTextTest, SizesAreShownInDecimalAndEightHexDigits) {
  struct Case {
    size_t size;
    const char* shown;
  } cases[] = {
      {0, "Requested size = 0 (0x00000000)\n"},
      {4096, "Requested size = 4096 (0x00001000)\n"},
      {0x7FFFFFFF, "Requested size = 2147483647 (0x7FFFFFFF)\n"},
      {0xFFFFFFFFu, "Requested size = 4294967295 (0xFFFFFFFF)\n"},
  };
  if (sizeof(size_t) > 4) {
    SCOPED_TRACE("a request above 32 bits is shown whole");
    char text[kOutOfMemoryTextCapacity];
    FormatOutOfMemoryText(text, sizeof text, size_t(0x100001000ull), words_);
    EXPECT_NE(std::strstr(text, "Requested size = 4294971392 (0x100001000)\n"), nullptr) << text;
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    char text[kOutOfMemoryTextCapacity];
    FormatOutOfMemoryText(text, sizeof text, c.size, words_);
    EXPECT_NE(std::strstr(text, c.shown), nullptr) << text;
  }
}

TEST_F(OutOfMemoryTextTest, SmallBufferIsCutShortAndTerminated) {
  char text[40];
  std::memset(text, 'x', sizeof text);
  int length = FormatOutOfMemoryText(text, 30, 4096, words_);
  EXPECT_EQ(length, 29);
  EXPECT_EQ(std::string(text), std::string(kHeader4096, 29));
  EXPECT_EQ(text[30], 'x');
}

}  // namespace
