// Loading device-independent bitmaps from untrusted bytes: the header rules, and images that
// would make drawing read beyond the buffer coming out empty.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/win32/paint_test_support.h"
#include "ui/dib_image.h"

namespace {

using paint_test::PutU16;
using paint_test::PutU32;

std::string InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0,
                       uint32_t coloursUsed = 0) {
  std::string b(40, '\0');
  PutU32(b, 0, 40);
  PutU32(b, 4, uint32_t(width));
  PutU32(b, 8, uint32_t(height));
  PutU16(b, 12, 1);
  PutU16(b, 14, bits);
  PutU32(b, 16, compression);
  PutU32(b, 32, coloursUsed);
  return b;
}

std::string CoreHeader(uint16_t width, uint16_t height, uint16_t bits) {
  std::string b(12, '\0');
  PutU32(b, 0, 12);
  PutU16(b, 4, width);
  PutU16(b, 6, height);
  PutU16(b, 8, 1);
  PutU16(b, 10, bits);
  return b;
}

// The header followed by zero bytes up to length bytes in all (or cut to length).
std::string Sized(std::string header, size_t length) {
  header.resize(length, '\0');
  return header;
}

std::string WithHeaderSize(uint32_t size) {
  std::string b = Sized(InfoHeader(2, 2, 24), 40 + 16 + 64);
  PutU32(b, 0, size);
  return b;
}

String ToString(const std::string& b) { return String(b.data(), int(b.size())); }

struct LoadCase {
  const char* name;
  std::string bytes;
  bool loaded;
  int width, height, bits, entries, entrySize, offset;
};

TEST(DibImage, LoadsTheHeadersItKnowsAndRefusesWhatDrawingCouldNotReadSafely) {
  const LoadCase cases[] = {
      // Information header: colour entries as stored, else 2^bits below 16 bits.
      {"info 24-bit, rows padded to 8 bytes", Sized(InfoHeader(2, 2, 24), 40 + 16), true,
       2, 2, 24, 0, 4, 40},
      {"info 24-bit, colour count taken as stored", Sized(InfoHeader(2, 2, 24, 0, 3), 52 + 16),
       true, 2, 2, 24, 3, 4, 52},
      {"info 8-bit, full table", Sized(InfoHeader(3, 1, 8), 40 + 1024 + 4), true,
       3, 1, 8, 256, 4, 1064},
      {"info 8-bit, 5 colours used", Sized(InfoHeader(3, 1, 8, 0, 5), 40 + 20 + 4), true,
       3, 1, 8, 5, 4, 60},
      {"info 4-bit", Sized(InfoHeader(9, 2, 4), 40 + 64 + 16), true, 9, 2, 4, 16, 4, 104},
      {"info 1-bit", Sized(InfoHeader(33, 1, 1), 40 + 8 + 8), true, 33, 1, 1, 2, 4, 48},
      {"info 16-bit without table", Sized(InfoHeader(3, 1, 16), 40 + 8), true,
       3, 1, 16, 0, 4, 40},
      {"info 32-bit top-down", Sized(InfoHeader(2, -3, 32), 40 + 24), true, 2, -3, 32, 0, 4, 40},
      {"bit fields count as a 52-byte header", Sized(InfoHeader(2, 2, 16, 3), 52 + 8), true,
       2, 2, 16, 0, 4, 52},
      {"bit fields with 2 colours", Sized(InfoHeader(1, 1, 32, 3, 2), 52 + 8 + 4), true,
       1, 1, 32, 2, 4, 60},
      // Core header: 16-bit sizes, 3-byte entries, 2^bits entries below 24 bits.
      {"core 24-bit", Sized(CoreHeader(2, 2, 24), 12 + 16), true, 2, 2, 24, 0, 3, 12},
      {"core 8-bit", Sized(CoreHeader(4, 1, 8), 12 + 768 + 4), true, 4, 1, 8, 256, 3, 780},
      {"core 1-bit", Sized(CoreHeader(1, 1, 1), 12 + 6 + 4), true, 1, 1, 1, 2, 3, 18},
      {"core sizes are unsigned", Sized(CoreHeader(0x8000, 1, 1), 12 + 6 + 4096), true,
       0x8000, 1, 1, 2, 3, 18},
      // Too short, unknown or damaged headers.
      {"empty buffer", "", false},
      {"12 bytes: a bare core header", CoreHeader(1, 1, 24), false},
      {"information header cut short", Sized(InfoHeader(1, 1, 24), 39), false},
      {"header size 64", WithHeaderSize(64), false},
      {"header size 108", WithHeaderSize(108), false},
      {"header size 124", WithHeaderSize(124), false},
      {"header size 0", WithHeaderSize(0), false},
      {"header size 52", WithHeaderSize(52), false},
      {"width 0", Sized(InfoHeader(0, 2, 24), 100), false},
      {"negative width", Sized(InfoHeader(-2, 2, 24), 100), false},
      {"core width 0", Sized(CoreHeader(0, 2, 24), 100), false},
      {"0 bits per pixel", Sized(InfoHeader(2, 2, 0), 100), false},
      {"7 bits per pixel", Sized(InfoHeader(2, 2, 7), 1000), false},
      // Colour table or pixels beyond the end.
      {"colour table cut short", Sized(InfoHeader(1, 1, 8), 40 + 1023), false},
      {"colour count near 2^32", Sized(InfoHeader(1, 1, 8, 0, 0xFFFFFFFF), 4096), false},
      {"core 16-bit: 65536 entries", Sized(CoreHeader(1, 1, 16), 4096), false},
      {"24-bit rows one byte short", Sized(InfoHeader(2, 2, 24), 40 + 15), false},
      {"row padding counts", Sized(InfoHeader(3, 1, 24), 40 + 11), false},
      {"top-down rows counted too", Sized(InfoHeader(2, -3, 32), 40 + 23), false},
      {"bit-field masks missing", Sized(InfoHeader(1, 1, 16, 3), 51), false},
      {"huge width", Sized(InfoHeader(0x7FFFFFFF, 1, 32), 4096), false},
      {"huge width and height", Sized(InfoHeader(0x7FFFFFFF, -0x7FFFFFFF - 1, 32), 4096), false},
      {"huge core picture", Sized(CoreHeader(0xFFFF, 0xFFFF, 24), 4096), false},
      // Compressed pixels: their extent is decided by the data, not the buffer.
      {"run-length 8-bit", Sized(InfoHeader(2, 2, 8, 1), 40 + 1024 + 64), false},
      {"run-length 4-bit", Sized(InfoHeader(2, 2, 4, 2), 40 + 64 + 64), false},
      {"JPEG", Sized(InfoHeader(2, 2, 0, 4), 400), false},
      {"bit fields at 24 bits", Sized(InfoHeader(2, 2, 24, 3), 400), false},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    DibImage image;
    EXPECT_EQ(image.Load(ToString(c.bytes)), c.loaded);
    EXPECT_EQ(image.IsEmpty(), !c.loaded);
    if (!c.loaded) {
      EXPECT_EQ(image.Info(), nullptr);
      EXPECT_EQ(image.Bits(), nullptr);
      continue;
    }
    EXPECT_EQ(image.Width(), c.width);
    EXPECT_EQ(image.Height(), c.height);
    EXPECT_EQ(image.BitsPerPixel(), c.bits);
    EXPECT_EQ(image.ColourEntries(), c.entries);
    EXPECT_EQ(image.EntrySize(), c.entrySize);
    EXPECT_EQ(image.BitsOffset(), c.offset);
    ASSERT_NE(image.Info(), nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(image.Info()), c.bytes.size()), c.bytes);
    EXPECT_EQ(static_cast<const char*>(image.Bits()) - static_cast<const char*>(image.Info()),
              c.offset);
  }
}

TEST(DibImage, AFailedLoadEmptiesAnImageThatWasLoaded) {
  DibImage image;
  ASSERT_TRUE(image.Load(ToString(Sized(InfoHeader(2, 2, 24), 56))));
  EXPECT_FALSE(image.Load(ToString(Sized(InfoHeader(2, 2, 24), 55))));
  EXPECT_TRUE(image.IsEmpty());
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.BitsOffset(), 0);
}

TEST(DibImage, ABitmapFileNeedsItsMagicAndLoadsTheRestAfterItsFileHeader) {
  std::string picture = Sized(InfoHeader(2, 2, 8, 0, 2), 40 + 8 + 8);
  std::string fileHeader(14, '\0');
  PutU16(fileHeader, 0, 0x4D42);
  PutU32(fileHeader, 10, 0x7FFFFFFF);  // the file's own bits offset plays no part
  const struct {
    const char* name;
    std::string bytes;
    bool loaded;
  } cases[] = {
      {"BM file", fileHeader + picture, true},
      {"wrong magic", "MB" + fileHeader.substr(2) + picture, false},
      {"no picture after the file header", fileHeader, false},
      {"file header cut short", fileHeader.substr(0, 13), false},
      {"empty file", "", false},
      {"picture cut short", fileHeader + picture.substr(0, picture.size() - 1), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DibImage image;
    EXPECT_EQ(image.LoadBitmapFile(ToString(c.bytes)), c.loaded);
    EXPECT_EQ(image.IsEmpty(), !c.loaded);
    if (!c.loaded) continue;
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(image.ColourEntries(), 2);
    EXPECT_EQ(image.BitsOffset(), 48);
    EXPECT_EQ(std::string(static_cast<const char*>(image.Info()), picture.size()), picture);
  }
}

// Arbitrary header words over short buffers: whatever loads must keep its colour table and
// every padded pixel row inside the buffer.
TEST(DibImage, ArbitraryBytesNeverDescribeDataBeyondTheBuffer) {
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  int loaded = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string b(13 + next() % 300, '\0');
    for (char& c : b) c = char(next());
    // Mostly plausible headers, so that the checks behind the header size are reached.
    uint32_t kind = next() % 4;
    if (kind < 2) PutU32(b, 0, 40);
    if (kind == 2) PutU32(b, 0, 12);
    if (kind < 2 && b.size() >= 40) {
      PutU16(b, 14, uint16_t(std::vector<int>{1, 4, 8, 16, 24, 32}[next() % 6]));
      PutU32(b, 16, next() % 4);
      PutU32(b, 32, next() % 3 == 0 ? next() % 20 : 0);
      PutU32(b, 4, next() % 8);
      PutU32(b, 8, uint32_t(int32_t(next() % 9) - 4));
    }
    DibImage image;
    if (!image.Load(ToString(b))) continue;
    ++loaded;
    int64_t rows = image.Height() < 0 ? -int64_t(image.Height()) : image.Height();
    int64_t rowBytes = (int64_t(image.Width()) * image.BitsPerPixel() + 31) / 32 * 4;
    SCOPED_TRACE(round);
    EXPECT_GT(image.Width(), 0);
    EXPECT_LE(int64_t(image.BitsOffset()) + rowBytes * rows, int64_t(b.size()));
    EXPECT_EQ(image.BitsOffset(), image.EntrySize() * image.ColourEntries() +
                                      (image.EntrySize() == 3 ? 12
                                       : b[16] == 3          ? 52
                                                             : 40));
  }
  EXPECT_GT(loaded, 100);  // the loop did reach images that load
}

}  // namespace
