#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "archive/file_entry.h"
#include "core/checksum.h"
#include "tests/native/archive_bytes_test_support.h"

namespace {

using archive_test::ArchiveBytes;
using archive_test::Str;

struct EntrySpec {
  std::string name = "bin\\rocket.exe";
  uint32_t kind = 5;
  uint32_t flags = 0x3;
  uint32_t attributes = 0x21;
  std::string data = std::string("MZ\x90\x00\x03", 5);
  int checksumDelta = 0;  // added to the right checksum
  std::string version = "Rocket";
  std::string icon = "rocket.ico";
  std::string arguments = "/fast";
  std::string destination = "%InstallDir%\\bin\\";
};

// Appends one entry, marking each stretch with the code of an entry that breaks off inside it.
void AppendEntry(ArchiveBytes& b, const EntrySpec& e) {
  b.Mark(70).Text(e.name).U32(e.kind).U32(e.flags).U32(e.attributes);
  b.Mark(72).Bytes(e.data.data(), int(e.data.size()));
  b.Mark(100).U32(ArchiveChecksum(e.data.data(), int(e.data.size())) + uint32_t(e.checksumDelta));
  b.Stamp(2001, 9, 8, 7, 6, 5).Text(e.version);
  if (e.flags & 0x3) b.Text(e.icon);
  b.Text(e.arguments).Text(e.destination);
}

int Read(const std::vector<char>& block, size_t& offset, int32_t length, FileEntry& entry) {
  return ReadFileEntry(block.empty() ? nullptr : block.data(), block.size(), offset, length,
                       entry);
}

TEST(ReadFileEntryTest, ReadsConsecutiveEntriesWithDataInPlace) {
  EntrySpec first;
  EntrySpec second;
  second.name = "readme.txt";
  second.kind = 0;
  second.flags = 0x24;
  second.attributes = 0xFFFFFFFF;
  second.data = "hello";
  second.version = "";
  second.arguments = "";
  second.destination = "";
  ArchiveBytes b;
  AppendEntry(b, first);
  const int firstEnd = b.Length();
  AppendEntry(b, second);
  const std::vector<char> block = b.All();

  size_t offset = 0;
  FileEntry entry;
  ASSERT_EQ(Read(block, offset, 5, entry), 0);
  EXPECT_EQ(offset, size_t(firstEnd));
  EXPECT_EQ(Str(entry.name), "bin\\rocket.exe");
  EXPECT_EQ(entry.destinationKind, 5u);
  EXPECT_EQ(entry.flags, 3u);
  EXPECT_EQ(entry.attributes, 0x21u);
  EXPECT_EQ(entry.length, 5);
  EXPECT_EQ(entry.data, block.data() + first.name.size() + 1 + 12) << "data used in place";
  EXPECT_EQ(entry.checksum, ArchiveChecksum(first.data.data(), 5));
  EXPECT_EQ(entry.stamp.year, 2001);
  EXPECT_EQ(entry.stamp.month, 9);
  EXPECT_EQ(entry.stamp.second, 5);
  EXPECT_EQ(Str(entry.versionOrShortcutName), "Rocket");
  EXPECT_EQ(Str(entry.shortcutIcon), "rocket.ico");
  EXPECT_EQ(Str(entry.shortcutArguments), "/fast");
  EXPECT_EQ(Str(entry.destinationText), "%InstallDir%\\bin\\");

  ASSERT_EQ(Read(block, offset, 5, entry), 0);
  EXPECT_EQ(offset, block.size());
  EXPECT_EQ(Str(entry.name), "readme.txt");
  EXPECT_EQ(std::string(entry.data, 5), "hello");
  EXPECT_EQ(entry.attributes, 0xFFFFFFFFu);
  EXPECT_EQ(Str(entry.shortcutIcon), "") << "no icon without flag bit 0 or 1";
  EXPECT_EQ(Str(entry.destinationText), "");
}

// The icon text is stored only when flag bit 0 or bit 1 is set; the texts after it line up
// either way.
TEST(ReadFileEntryTest, IconTextOnlyWithAShortcutFlag) {
  const uint32_t flagCases[] = {0x0, 0x1, 0x2, 0x3, 0x4, 0xC, 0x20, 0x40, 0xFFFFFFFC};
  for (uint32_t flags : flagCases) {
    SCOPED_TRACE(flags);
    EntrySpec spec;
    spec.flags = flags;
    ArchiveBytes b;
    AppendEntry(b, spec);
    const std::vector<char> block = b.All();
    size_t offset = 0;
    FileEntry entry;
    ASSERT_EQ(Read(block, offset, 5, entry), 0);
    EXPECT_EQ(offset, block.size());
    EXPECT_EQ(Str(entry.shortcutIcon), (flags & 3) ? "rocket.ico" : "");
    EXPECT_EQ(Str(entry.shortcutArguments), "/fast");
    EXPECT_EQ(Str(entry.destinationText), "%InstallDir%\\bin\\");
  }
}

TEST(ReadFileEntryTest, ChecksGiveTheirCodes) {
  struct Case {
    const char* what;
    std::string name;
    std::string data;
    int32_t length;
    int checksumDelta;
    int expected;
  };
  const Case cases[] = {
      {"good", "a", "12345", 5, 0, 0},
      {"empty data", "a", "", 0, 0, 0},
      {"empty name", "", "12345", 5, 0, 70},
      {"negative length", "a", "12345", -1, 0, 71},
      {"most negative length", "a", "12345", INT32_MIN, 0, 71},
      {"length above 1 GB", "a", "12345", 0x40000001, 0, 72},
      {"1 GB length beyond the block", "a", "12345", 0x40000000, 0, 72},
      {"checksum off by one", "a", "12345", 5, 1, 100},
      {"checksum of an empty file", "a", "", 0, -1, 100},
      {"70 before 71", "", "12345", -1, 0, 70},
      {"71 before 100", "a", "12345", -1, 1, 71},
      {"72 before 100", "a", "12345", 0x40000001, 1, 72},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EntrySpec spec;
    spec.name = c.name;
    spec.data = c.data;
    spec.checksumDelta = c.checksumDelta;
    ArchiveBytes b;
    b.Text("before");
    const size_t start = size_t(b.Length());
    AppendEntry(b, spec);
    const std::vector<char> block = b.All();
    size_t offset = start;
    FileEntry entry;
    EXPECT_EQ(Read(block, offset, c.length, entry), c.expected);
    EXPECT_EQ(offset, c.expected == 0 ? block.size() : start);
  }
}

// A block that ends inside the entry: the code of the field it breaks off in.
TEST(ReadFileEntryTest, EveryCutGivesTheCodeOfTheFieldItBreaks) {
  for (uint32_t flags : {0x1u, 0x0u}) {
    SCOPED_TRACE(flags);
    EntrySpec spec;
    spec.flags = flags;
    ArchiveBytes b;
    AppendEntry(b, spec);
    for (int cut = 0; cut < b.Length(); ++cut) {
      SCOPED_TRACE(cut);
      size_t offset = 0;
      FileEntry entry;
      EXPECT_EQ(Read(b.Cut(cut), offset, 5, entry), b.CodeForCut(cut));
      EXPECT_EQ(offset, 0u);
    }
  }
}

TEST(ReadFileEntryTest, OffsetAtOrBeyondTheEndHasNoName) {
  ArchiveBytes b;
  AppendEntry(b, EntrySpec());
  const std::vector<char> block = b.All();
  for (size_t offset : {block.size(), block.size() + 1, size_t(-1)}) {
    SCOPED_TRACE(offset);
    size_t at = offset;
    FileEntry entry;
    EXPECT_EQ(Read(block, at, 5, entry), 70);
    EXPECT_EQ(at, offset);
  }
}

}  // namespace
