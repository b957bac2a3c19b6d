#include "core/memory_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Bytes(const MemoryStream& stream) {
  return std::string(stream.Buffer().CStr(), size_t(stream.Size()));
}

// A stream holding text with its position at the end, as after writing it.
void Load(MemoryStream& stream, const std::string& text) {
  ASSERT_TRUE(stream.Write(text.data(), int(text.size())));
}

TEST(MemoryStreamTest, WriteThenReadBack) {
  MemoryStream stream;
  Load(stream, "hello world");
  EXPECT_EQ(stream.Tell(), 11);
  EXPECT_EQ(stream.Size(), 11);
  EXPECT_FALSE(stream.HasMore());

  ASSERT_TRUE(stream.SeekFromStart(6));
  EXPECT_TRUE(stream.HasMore());
  char out[6];
  std::memset(out, '#', sizeof out);
  ASSERT_TRUE(stream.Read(out, 5));
  EXPECT_EQ(std::string(out, 6), "world#");
  EXPECT_EQ(stream.Tell(), 11);
}

TEST(MemoryStreamTest, ShortReadZeroFillsFailsAndStillAdvances) {
  MemoryStream stream;
  Load(stream, "abcdef");
  ASSERT_TRUE(stream.SeekFromStart(4));
  char out[8];
  std::memset(out, 0x5A, sizeof out);
  EXPECT_FALSE(stream.Read(out, 6));
  EXPECT_EQ(std::string(out, 8), std::string("ef\0\0\0\0\x5A\x5A", 8));
  EXPECT_EQ(stream.Tell(), 10);
  EXPECT_EQ(stream.Size(), 6);

  // Already past the end: nothing is copied, everything is zeroed, the position moves on.
  std::memset(out, 0x5A, sizeof out);
  EXPECT_FALSE(stream.Read(out, 3));
  EXPECT_EQ(std::string(out, 4), std::string("\0\0\0\x5A", 4));
  EXPECT_EQ(stream.Tell(), 13);
}

TEST(MemoryStreamTest, DegenerateReadsAndWrites) {
  MemoryStream stream;
  Load(stream, "abc");
  ASSERT_TRUE(stream.SeekFromStart(1));
  char out[4] = {'x', 'x', 'x', 'x'};

  EXPECT_TRUE(stream.Read(out, 0));
  EXPECT_FALSE(stream.Read(out, -1));
  EXPECT_FALSE(stream.Read(nullptr, 2));
  EXPECT_EQ(std::string(out, 4), "xxxx");
  EXPECT_EQ(stream.Tell(), 1);

  EXPECT_TRUE(stream.Write("zz", 0));
  EXPECT_FALSE(stream.Write("zz", -1));
  EXPECT_FALSE(stream.Write(nullptr, 2));
  EXPECT_EQ(Bytes(stream), "abc");
  EXPECT_EQ(stream.Tell(), 1);
}

TEST(MemoryStreamTest, WriteOverwritesThenExtends) {
  struct Case {
    const char* initial;
    int position;
    const char* data;
    std::string expected;
    int expectedPosition;
  };
  const Case cases[] = {
      {"abcdef", 0, "XY", "XYcdef", 2},
      {"abcdef", 2, "XY", "abXYef", 4},
      {"abcdef", 5, "XYZ", "abcdeXYZ", 8},
      {"abcdef", 6, "XY", "abcdefXY", 8},
      {"", 0, "XY", "XY", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.initial) + " @" + std::to_string(c.position) + " <- " + c.data);
    MemoryStream stream;
    if (*c.initial) Load(stream, c.initial);
    ASSERT_TRUE(stream.SeekFromStart(c.position));
    ASSERT_TRUE(stream.Write(c.data, int(std::strlen(c.data))));
    EXPECT_EQ(Bytes(stream), c.expected);
    EXPECT_EQ(stream.Tell(), c.expectedPosition);
  }
}

TEST(MemoryStreamTest, WriteAfterReadingPastTheEndZeroesTheGap) {
  MemoryStream stream;
  Load(stream, "ab");
  char out[3];
  EXPECT_FALSE(stream.Read(out, 3));  // position 5, size 2
  ASSERT_TRUE(stream.Write("Z", 1));
  EXPECT_EQ(Bytes(stream), std::string("ab\0\0\0Z", 6));
}

TEST(MemoryStreamTest, ReserveHandsOutTheBytesAtThePosition) {
  MemoryStream stream;
  Load(stream, "abcd");
  ASSERT_TRUE(stream.SeekFromStart(2));
  char* reserved = stream.Reserve(5);
  ASSERT_NE(reserved, nullptr);
  EXPECT_EQ(reserved, stream.Buffer().CStr() + 2);
  EXPECT_EQ(stream.Tell(), 7);
  EXPECT_EQ(stream.Size(), 7);
  std::memcpy(reserved, "12345", 5);
  EXPECT_EQ(Bytes(stream), "ab12345");

  EXPECT_EQ(stream.Reserve(-1), nullptr);
  EXPECT_EQ(stream.Tell(), 7);
}

TEST(MemoryStreamTest, ReserveReallocatesOnlyWhenTheCapacityIsExceeded) {
  MemoryStream stream;
  Load(stream, "a");
  const char* block = stream.Buffer().CStr();
  const int capacity = stream.Buffer().Capacity();
  ASSERT_GT(capacity, 2);
  // The buffer needs one byte for its terminator, so capacity - 1 bytes fit.
  while (stream.Size() < capacity - 1) ASSERT_TRUE(stream.Write("b", 1));
  EXPECT_EQ(stream.Buffer().CStr(), block);
  EXPECT_EQ(stream.Buffer().Capacity(), capacity);

  ASSERT_TRUE(stream.Write("c", 1));
  EXPECT_GT(stream.Buffer().Capacity(), capacity);
  EXPECT_EQ(Bytes(stream), "a" + std::string(size_t(capacity - 2), 'b') + "c");
}

TEST(MemoryStreamTest, WriteFromItsOwnBufferSurvivesReallocation) {
  MemoryStream stream;
  std::string text(3000, 'q');
  text[0] = 'A';
  text[2999] = 'Z';
  Load(stream, text);
  // Doubling the stream moves the buffer while its old bytes are the source.
  ASSERT_TRUE(stream.Write(stream.Buffer().CStr(), stream.Size()));
  EXPECT_EQ(Bytes(stream), text + text);
}

TEST(MemoryStreamTest, CopyWithin) {
  struct Case {
    int position;
    int source;
    int n;
    bool ok;
    std::string expected;
  };
  // Stream "abcdefgh"; each case seeks to position and copies.
  const Case cases[] = {
      {8, 0, 3, true, "abcdefghabc"},
      {8, 5, 3, true, "abcdefghfgh"},
      {4, 0, 4, true, "abcdabcd"},   // source ends exactly at the position
      {3, 0, 2, true, "abcabfgh"},   // overwrites inside the stream
      {4, 1, 4, false, "abcdefgh"},  // source + n beyond the position
      {4, 2, 3, false, "abcdefgh"},  // would copy bytes being written (overlap)
      {8, -1, 2, false, "abcdefgh"},
      {8, 0, 0, false, "abcdefgh"},
      {8, 0, -2, false, "abcdefgh"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("position " + std::to_string(c.position) + " source " + std::to_string(c.source) +
                 " n " + std::to_string(c.n));
    MemoryStream stream;
    Load(stream, "abcdefgh");
    ASSERT_TRUE(stream.SeekFromStart(c.position));
    EXPECT_EQ(stream.CopyWithin(c.source, c.n), c.ok);
    EXPECT_EQ(Bytes(stream), c.expected);
    EXPECT_EQ(stream.Tell(), c.ok ? c.position + c.n : c.position);
  }
}

TEST(MemoryStreamTest, CopyWithinFailsWhenThePositionIsPastTheEnd) {
  MemoryStream stream;
  Load(stream, "abcd");
  char out[2];
  EXPECT_FALSE(stream.Read(out, 2));  // position 6, size 4
  EXPECT_FALSE(stream.CopyWithin(0, 2));
  EXPECT_EQ(Bytes(stream), "abcd");
  EXPECT_EQ(stream.Tell(), 6);
}

TEST(MemoryStreamTest, CopyWithinAcrossAReallocation) {
  MemoryStream stream;
  std::string text(5000, 'r');
  text[0] = '<';
  text[4999] = '>';
  Load(stream, text);
  ASSERT_TRUE(stream.CopyWithin(0, 5000));
  EXPECT_EQ(Bytes(stream), text + text);
}

TEST(MemoryStreamTest, Fill) {
  struct Case {
    int n;
    bool ok;
  };
  // Below, at and across the 1,024-byte piece size.
  const Case cases[] = {{1, true}, {1023, true}, {1024, true}, {1025, true}, {2500, true},
                        {0, false}, {-5, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE("n " + std::to_string(c.n));
    MemoryStream stream;
    Load(stream, "<>");
    ASSERT_TRUE(stream.SeekFromStart(1));
    EXPECT_EQ(stream.Fill('\x7E', c.n), c.ok);
    const std::string expected = c.ok ? "<" + std::string(size_t(c.n), '\x7E') : "<>";
    EXPECT_EQ(Bytes(stream), expected);
    EXPECT_EQ(stream.Tell(), c.ok ? 1 + c.n : 1);
  }
}

TEST(MemoryStreamTest, Seeks) {
  struct Case {
    bool fromEnd;
    int argument;
    bool ok;
    int position;  // after the call, starting from position 2
  };
  const Case cases[] = {
      {false, 0, true, 0},  {false, 5, true, 5},  {false, 6, false, 2}, {false, -1, false, 2},
      {true, 0, true, 5},   {true, -5, true, 0},  {true, -2, true, 3},  {true, -6, false, 2},
      {true, 1, false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fromEnd ? "end " : "start ") + std::to_string(c.argument));
    MemoryStream stream;
    Load(stream, "01234");
    ASSERT_TRUE(stream.SeekFromStart(2));
    EXPECT_EQ(c.fromEnd ? stream.SeekFromEnd(c.argument) : stream.SeekFromStart(c.argument), c.ok);
    EXPECT_EQ(stream.Tell(), c.position);
  }
}

TEST(MemoryStreamTest, TruncateCutsAtThePosition) {
  MemoryStream stream;
  Load(stream, "0123456789");
  ASSERT_TRUE(stream.SeekFromStart(4));
  stream.Truncate();
  EXPECT_EQ(Bytes(stream), "0123");
  EXPECT_EQ(stream.Tell(), 4);
  EXPECT_FALSE(stream.HasMore());

  ASSERT_TRUE(stream.SeekFromStart(0));
  stream.Truncate();
  EXPECT_EQ(stream.Size(), 0);
}

TEST(MemoryStreamTest, ResetAndDetachLeaveAnEmptyStream) {
  MemoryStream stream;
  Load(stream, "payload");
  String taken = stream.Detach();
  EXPECT_EQ(std::string(taken.CStr(), size_t(taken.Length())), "payload");
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Tell(), 0);
  EXPECT_FALSE(stream.Buffer().HasBuffer());

  Load(stream, "again");
  stream.Reset();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Tell(), 0);
  EXPECT_FALSE(stream.Buffer().HasBuffer());
  Load(stream, "fresh");
  EXPECT_EQ(Bytes(stream), "fresh");
}

TEST(MemoryStreamTest, WorksThroughTheReaderAndWriterInterfaces) {
  MemoryStream stream;
  Writer& writer = stream;
  Reader& reader = stream;
  ASSERT_TRUE(writer.Write("\x01\x02\x03\x04", 4));
  ASSERT_TRUE(stream.SeekFromStart(0));
  unsigned char out[4] = {};
  ASSERT_TRUE(reader.Read(out, 4));
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[3], 4);
  EXPECT_FALSE(reader.Read(out, 1));
}

}  // namespace
