#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/archive_layout.h"
#include "archive/pe_layout.h"
#include "archive/uninstaller_image.h"
#include "core/little_endian.h"
#include "tests/native/archive_bytes_test_support.h"

namespace {

using archive_test::MakePeHeaders;
using archive_test::PeLayout;
using archive_test::PeSection;
using archive_test::Str;

constexpr uint32_t kRawSize = 0x200;

uint32_t U32At(const std::string& bytes, size_t at) { return LoadU32(&bytes[at]); }

uint16_t U16At(const std::string& bytes, size_t at) { return LoadU16(&bytes[at]); }

// A PE file of four sections of kRawSize bytes each, raw data from 0x400 on, each filled with
// a byte of its own; `archive` names the one that is the archive. The 40 bytes after the table
// are a pattern, so that their move into the vacated slot shows.
struct SyntheticInstaller {
  PeLayout layout;
  std::string file;
  ArchiveSection section;

  explicit SyntheticInstaller(int archive) {
    for (int i = 0; i < 4; ++i) {
      const std::string name = i == archive ? ".qorv" : ".sec" + std::to_string(i);
      layout.sections.push_back(
          {name, 0x100, 0x1000u * uint32_t(i + 1), kRawSize, 0x400u + kRawSize * uint32_t(i)});
    }
    layout.afterTable = 0xAB;
    const std::vector<uint8_t> headers = MakePeHeaders(layout);
    file.assign(headers.begin(), headers.end());
    file.resize(0x400, '\0');
    for (int i = 0; i < 4; ++i) file.append(kRawSize, char(0xD0 + i));
    const std::vector<uint8_t> bytes(file.begin(), file.end());
    EXPECT_EQ(LocateArchiveSection(bytes.data(), bytes.size(), section), 0);
    EXPECT_EQ(section.index, archive);
  }

  String Before() const { return String(file.data(), int(section.rawOffset)); }
  String After() const {
    const size_t end = section.rawOffset + section.rawSize;
    return String(file.data() + end, int(file.size() - end));
  }
  std::string Entry(int i) const { return file.substr(layout.EntryOffset(i), 40); }
};

std::string Make(const SyntheticInstaller& installer, uint32_t patchOffset = 0,
                 const std::string& patch = "") {
  return Str(MakeUninstallerImage(installer.Before(), installer.After(), installer.section,
                                  patchOffset, String(patch.data(), int(patch.size()))));
}

// The entry `entry` with its PointerToRawData reduced by the archive's raw size.
std::string Moved(std::string entry) {
  const uint32_t offset = U32At(entry, 20) - kRawSize;
  for (int i = 0; i < 4; ++i) entry[size_t(20 + i)] = char(offset >> (8 * i));
  return entry;
}

TEST(UninstallerImageTest, ArchiveInTheMiddle) {
  const SyntheticInstaller installer(1);
  const std::string image = Make(installer);
  const PeLayout& layout = installer.layout;
  const size_t pe = layout.peOffset;

  ASSERT_EQ(image.size(), installer.file.size() - kRawSize);
  EXPECT_EQ(U16At(image, pe + kPeSectionCountField), 3);
  EXPECT_EQ(U32At(image, pe + 0x20), layout.initializedDataSize - kRawSize);
  EXPECT_EQ(U32At(image, pe + 0x50), layout.imageSize - kRawSize);
  EXPECT_EQ(image.substr(layout.EntryOffset(0), 40), installer.Entry(0));
  EXPECT_EQ(image.substr(layout.EntryOffset(1), 40), Moved(installer.Entry(2)));
  EXPECT_EQ(image.substr(layout.EntryOffset(2), 40), Moved(installer.Entry(3)));
  EXPECT_EQ(U32At(image, layout.EntryOffset(1) + 20), 0x600u) << "section 2 moved down";
  EXPECT_EQ(image.substr(layout.EntryOffset(3), 40), std::string(40, char(0xAB)));
  EXPECT_EQ(image.substr(layout.EntryOffset(4), 40), std::string(40, char(0xAB)))
      << "the bytes after the table stay where they were";
  // The raw data: section 0, then sections 2 and 3 where the archive was.
  EXPECT_EQ(image.substr(0x400, kRawSize), std::string(kRawSize, char(0xD0)));
  EXPECT_EQ(image.substr(0x600, kRawSize), std::string(kRawSize, char(0xD2)));
  EXPECT_EQ(image.substr(0x800, kRawSize), std::string(kRawSize, char(0xD3)));
  // Nothing else in the headers changed.
  EXPECT_EQ(image.substr(0, pe + kPeSectionCountField),
            installer.file.substr(0, pe + kPeSectionCountField));
  EXPECT_EQ(image.substr(layout.HeadersEnd(), 0x400 - layout.HeadersEnd()),
            installer.file.substr(layout.HeadersEnd(), 0x400 - layout.HeadersEnd()));
}

TEST(UninstallerImageTest, ArchiveAtTheEnd) {
  const SyntheticInstaller installer(3);
  const std::string image = Make(installer);
  const PeLayout& layout = installer.layout;

  ASSERT_EQ(image, [&] {
    std::string expected = installer.file.substr(0, 0xA00);
    const size_t pe = layout.peOffset;
    expected[pe + 6] = 3;
    for (size_t field : {pe + 0x20, pe + 0x50}) {
      const uint32_t v = U32At(expected, field) - kRawSize;
      for (int i = 0; i < 4; ++i) expected[field + size_t(i)] = char(v >> (8 * i));
    }
    expected.replace(layout.EntryOffset(3), 40, std::string(40, char(0xAB)));
    return expected;
  }());
}

TEST(UninstallerImageTest, ArchiveFirstMovesEveryOtherEntry) {
  const SyntheticInstaller installer(0);
  const std::string image = Make(installer);
  const PeLayout& layout = installer.layout;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(image.substr(layout.EntryOffset(i), 40), Moved(installer.Entry(i + 1)));
  }
  EXPECT_EQ(U32At(image, layout.EntryOffset(0) + 20), 0x400u);
}

// The patch goes over the finished image, headers included, when it fits wholly.
TEST(UninstallerImageTest, PatchIsAppliedOnlyWhenItFits) {
  const SyntheticInstaller installer(1);
  const int imageLength = int(installer.file.size() - kRawSize);
  const size_t pe = installer.layout.peOffset;
  struct Case {
    const char* what;
    int64_t offset;
    int length;
    bool applied;
  };
  const Case cases[] = {
      {"inside", 0x500, 8, true},
      {"over the fixed-up section count", int64_t(pe + kPeSectionCountField), 2, true},
      {"ending at the image end", imageLength - 8, 8, true},
      {"one byte past the end", imageLength - 7, 8, false},
      {"starting at the end", imageLength, 1, false},
      {"offset 0", 0, 4, false},
      {"empty patch", 0x500, 0, false},
  };
  const std::string plain = Make(installer);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string patch(size_t(c.length), char(0x5A));
    const std::string image = Make(installer, uint32_t(c.offset), patch);
    std::string expected = plain;
    if (c.applied) expected.replace(size_t(c.offset), patch.size(), patch);
    EXPECT_EQ(image, expected);
  }
}

// A section table that the kept bytes cut off: entries beyond the image read as zeros and
// writes beyond it are dropped; the image keeps its length.
TEST(UninstallerImageTest, TableBeyondTheImageReadsAsZeros) {
  const SyntheticInstaller installer(0);
  const PeLayout& layout = installer.layout;
  const size_t cut = layout.EntryOffset(2) + 20;  // half of entry 2 is kept
  ArchiveSection section = installer.section;
  const String before(installer.file.data(), int(cut));
  const std::string image =
      Str(MakeUninstallerImage(before, String(), section, 0, String()));

  ASSERT_EQ(image.size(), cut);
  EXPECT_EQ(image.substr(layout.EntryOffset(0), 40), Moved(installer.Entry(1)));
  std::string slot1 = installer.Entry(2).substr(0, 20) + std::string(20, '\0');
  slot1 = Moved(slot1);
  EXPECT_EQ(image.substr(layout.EntryOffset(1), 40), slot1);
  EXPECT_EQ(image.substr(layout.EntryOffset(2)), std::string(20, '\0'))
      << "entry 3 lies wholly beyond the image";
}

TEST(UninstallerImageTest, HeadersBeyondTheImageAreLeftAlone) {
  const SyntheticInstaller installer(3);
  const struct {
    const char* what;
    size_t kept;
  } cases[] = {
      {"nothing", 0},
      {"before the PE header", 0x40},
      {"up to the section count", installer.layout.peOffset + 7},
      {"up to SizeOfImage", installer.layout.peOffset + 0x52},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const String before(installer.file.data(), int(c.kept));
    const std::string image =
        Str(MakeUninstallerImage(before, String(), installer.section, 0, String()));
    std::string expected = installer.file.substr(0, c.kept);
    const size_t pe = installer.layout.peOffset;
    if (c.kept >= pe + 8) expected[pe + 6] = char(expected[pe + 6] - 1);
    if (c.kept >= pe + 0x24) {
      const uint32_t v = U32At(expected, pe + 0x20) - kRawSize;
      for (int i = 0; i < 4; ++i) expected[pe + 0x20 + size_t(i)] = char(v >> (8 * i));
    }
    EXPECT_EQ(image, expected);
  }
}

}  // namespace
