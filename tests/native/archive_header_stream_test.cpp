#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/header_stream.h"
#include "tests/native/archive_bytes_test_support.h"

namespace {

using archive_test::ArchiveBytes;
using archive_test::Str;
using archive_test::StreamOver;

std::vector<char> Sequence(int n) {
  std::vector<char> bytes;
  for (int i = 1; i <= n; ++i) bytes.push_back(char(i));
  return bytes;
}

TEST(HeaderStreamTest, NumbersAreLittleEndianAndAdvance) {
  const std::vector<char> bytes = Sequence(15);
  HeaderStream in = StreamOver(bytes);
  uint8_t u8 = 0;
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  uint64_t u64 = 0;
  ASSERT_TRUE(in.ReadU8(u8));
  ASSERT_TRUE(in.ReadU16(u16));
  ASSERT_TRUE(in.ReadU32(u32));
  ASSERT_TRUE(in.ReadU64(u64));
  EXPECT_EQ(u8, 0x01);
  EXPECT_EQ(u16, 0x0302);
  EXPECT_EQ(u32, 0x07060504u);
  EXPECT_EQ(u64, 0x0F0E0D0C0B0A0908ull);
  EXPECT_EQ(in.Position(), 15u);
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(HeaderStreamTest, HighBytesDoNotSignExtend) {
  const std::vector<char> bytes(8, char(0xFF));
  HeaderStream in = StreamOver(bytes);
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  ASSERT_TRUE(in.ReadU16(u16));
  ASSERT_TRUE(in.ReadU32(u32));
  EXPECT_EQ(u16, 0xFFFF);
  EXPECT_EQ(u32, 0xFFFFFFFFu);
}

// One byte short of each width: the read fails, consumes nothing and leaves the output alone.
TEST(HeaderStreamTest, ShortNumberReadsFailWithoutConsuming) {
  for (int width : {1, 2, 4, 8}) {
    SCOPED_TRACE(width);
    const std::vector<char> bytes = Sequence(width - 1 + 3);
    HeaderStream in = StreamOver(bytes);
    ASSERT_TRUE(in.Skip(3));
    uint64_t value = 0xDEADBEEFDEADBEEFull;
    uint8_t u8 = 0xEE;
    uint16_t u16 = 0xEEEE;
    uint32_t u32 = 0xEEEEEEEE;
    bool ok = true;
    if (width == 1) ok = in.ReadU8(u8);
    if (width == 2) ok = in.ReadU16(u16);
    if (width == 4) ok = in.ReadU32(u32);
    if (width == 8) ok = in.ReadU64(value);
    EXPECT_FALSE(ok);
    EXPECT_EQ(in.Position(), 3u);
    EXPECT_EQ(u8, 0xEE);
    EXPECT_EQ(u16, 0xEEEE);
    EXPECT_EQ(u32, 0xEEEEEEEEu);
    EXPECT_EQ(value, 0xDEADBEEFDEADBEEFull);
  }
}

TEST(HeaderStreamTest, EmptyStreamRefusesEveryRead) {
  HeaderStream in(nullptr, 0);
  uint8_t u8;
  String text("sentinel");
  String bytes("sentinel");
  FileStamp stamp = {1, 2, 3, 4, 5, 6};
  char raw = 'x';
  EXPECT_FALSE(in.ReadU8(u8));
  EXPECT_FALSE(in.ReadText(text));
  EXPECT_EQ(Str(text), "");
  EXPECT_FALSE(in.ReadBytes(1, bytes));
  EXPECT_EQ(Str(bytes), "");
  EXPECT_FALSE(in.ReadRaw(&raw, 1));
  EXPECT_FALSE(in.ReadStamp(stamp));
  EXPECT_EQ(stamp.year, 1);
  EXPECT_FALSE(in.Skip(1));
  EXPECT_TRUE(in.Skip(0));
  EXPECT_TRUE(in.ReadBytes(0, bytes));
  EXPECT_EQ(in.Position(), 0u);
}

TEST(HeaderStreamTest, TextsEndAtTheirNul) {
  ArchiveBytes b;
  b.Text("abc").Text("").Text("x y");
  const std::vector<char> bytes = b.All();
  HeaderStream in = StreamOver(bytes);
  String text;
  ASSERT_TRUE(in.ReadText(text));
  EXPECT_EQ(Str(text), "abc");
  EXPECT_EQ(in.Position(), 4u);
  text = "sentinel";
  ASSERT_TRUE(in.ReadText(text));
  EXPECT_EQ(Str(text), "");
  EXPECT_EQ(in.Position(), 5u);
  ASSERT_TRUE(in.ReadText(text));
  EXPECT_EQ(Str(text), "x y");
  EXPECT_EQ(in.Remaining(), 0u);
}

// The end of the data ends the text too, but the read reports that its NUL was missing.
TEST(HeaderStreamTest, TextWithoutNulFailsWithTheRestOfTheData) {
  const std::vector<char> bytes = {'a', 'b', '\0', 'c', 'd'};
  HeaderStream in = StreamOver(bytes);
  String text;
  ASSERT_TRUE(in.ReadText(text));
  EXPECT_FALSE(in.ReadText(text));
  EXPECT_EQ(Str(text), "cd");
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(HeaderStreamTest, ReadBytesKeepsNulsAndShortensOnFailure) {
  const std::vector<char> bytes = {'a', '\0', 'b', 'c', 'd'};
  HeaderStream in = StreamOver(bytes);
  String out;
  ASSERT_TRUE(in.ReadBytes(3, out));
  EXPECT_EQ(Str(out), std::string("a\0b", 3));
  EXPECT_FALSE(in.ReadBytes(5, out));
  EXPECT_EQ(Str(out), "cd");
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(HeaderStreamTest, ReadBytesOfAHugeCountFailsWithoutReadingPastTheEnd) {
  const std::vector<char> bytes = Sequence(4);
  HeaderStream in = StreamOver(bytes);
  String out;
  EXPECT_FALSE(in.ReadBytes(SIZE_MAX, out));
  EXPECT_EQ(out.Length(), 4);
}

TEST(HeaderStreamTest, RawReadsAndSkipsAreAllOrNothing) {
  const std::vector<char> bytes = Sequence(6);
  HeaderStream in = StreamOver(bytes);
  char raw[4] = {'x', 'x', 'x', 'x'};
  ASSERT_TRUE(in.Skip(3));
  EXPECT_FALSE(in.ReadRaw(raw, 4));
  EXPECT_EQ(std::string(raw, 4), "xxxx");
  EXPECT_FALSE(in.Skip(4));
  EXPECT_EQ(in.Position(), 3u);
  ASSERT_TRUE(in.ReadRaw(raw, 3));
  EXPECT_EQ(std::string(raw, 3), std::string("\x04\x05\x06"));
  EXPECT_TRUE(in.Skip(0));
  EXPECT_FALSE(in.Skip(SIZE_MAX));
}

TEST(HeaderStreamTest, StampIsSixSignedWordsYearFirst) {
  ArchiveBytes b;
  b.Stamp(1999, 12, 31, 23, 59, -1).U8(7);
  const std::vector<char> bytes = b.All();
  HeaderStream in = StreamOver(bytes);
  FileStamp stamp = {};
  ASSERT_TRUE(in.ReadStamp(stamp));
  EXPECT_EQ(stamp.year, 1999);
  EXPECT_EQ(stamp.month, 12);
  EXPECT_EQ(stamp.day, 31);
  EXPECT_EQ(stamp.hour, 23);
  EXPECT_EQ(stamp.minute, 59);
  EXPECT_EQ(stamp.second, -1);
  EXPECT_EQ(in.Position(), 24u);
  EXPECT_FALSE(in.ReadStamp(stamp));
  EXPECT_EQ(in.Position(), 24u);
}

}  // namespace
