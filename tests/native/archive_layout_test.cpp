#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/archive_layout.h"
#include "tests/native/archive_bytes_test_support.h"

namespace {

using archive_test::ArchiveBytes;
using archive_test::MakePeHeaders;
using archive_test::PeLayout;
using archive_test::PeSection;

// Four sections, the archive last: the usual shape of an installer.
PeLayout InstallerLayout() {
  PeLayout layout;
  layout.sections = {{".text", 0x1000, 0x1000, 0x200, 0x400},
                     {".rdata", 0x800, 0x2000, 0x200, 0x600},
                     {".rsrc", 0x300, 0x3000, 0x200, 0x800},
                     {".qorv", 0x5000, 0x4000, 0x4E00, 0xA00}};
  return layout;
}

// Runs the walk over an exact-size copy of the first `length` bytes (all when negative).
int Locate(const std::vector<uint8_t>& file, ArchiveSection& section, long length = -1) {
  const size_t n = length < 0 ? file.size() : size_t(length);
  std::vector<uint8_t> copy(file.begin(), file.begin() + long(n));
  return LocateArchiveSection(copy.empty() ? nullptr : copy.data(), copy.size(), section);
}

TEST(LocateArchiveSectionTest, FindsTheArchiveEntryAndItsFields) {
  const PeLayout layout = InstallerLayout();
  ArchiveSection section;
  ASSERT_EQ(Locate(MakePeHeaders(layout), section), 0);
  EXPECT_EQ(section.peHeaderOffset, 0x80u);
  EXPECT_EQ(section.sectionCount, 4);
  EXPECT_EQ(section.tableOffset, uint32_t(layout.TableOffset()));
  EXPECT_EQ(section.index, 3);
  EXPECT_EQ(section.virtualSize, 0x5000u);
  EXPECT_EQ(section.virtualAddress, 0x4000u);
  EXPECT_EQ(section.rawSize, 0x4E00u);
  EXPECT_EQ(section.rawOffset, 0xA00u);
}

TEST(LocateArchiveSectionTest, HeaderChecksAndNames) {
  struct Case {
    const char* what;
    uint32_t peOffset;
    uint16_t optionalHeaderSize;
    int sectionCount;     // sections in the table (the archive last)
    const char* archiveName;
    uint32_t rawOffset;
    int expected;
  };
  const Case cases[] = {
      {"PE offset just below the range", 0x3F, 0xE0, 4, ".qorv", 0xA00, 43},
      {"PE offset lowest", 0x40, 0xE0, 4, ".qorv", 0xA00, 0},
      {"PE offset highest", 0x1000, 0xE0, 4, ".qorv", 0xA00, 0},
      {"PE offset just above the range", 0x1001, 0xE0, 4, ".qorv", 0xA00, 43},
      {"three sections", 0x80, 0xE0, 3, ".qorv", 0xA00, 44},
      {"four sections", 0x80, 0xE0, 4, ".qorv", 0xA00, 0},
      {"99 sections", 0x80, 0xE0, 99, ".qorv", 0xA00, 0},
      {"100 sections", 0x80, 0xE0, 100, ".qorv", 0xA00, 44},
      {"largest optional header, most sections", 0x1000, 0xFFFF, 99, ".qorv", 0xA00, 0},
      {"no optional header", 0x80, 0, 4, ".qorv", 0xA00, 0},
      {"name in upper case", 0x80, 0xE0, 4, ".QORV", 0xA00, kNoArchiveSection},
      {"name with a suffix", 0x80, 0xE0, 4, ".qorv2", 0xA00, kNoArchiveSection},
      {"name of eight bytes without NUL", 0x80, 0xE0, 4, ".qorvxyz", 0xA00, kNoArchiveSection},
      {"name cut short", 0x80, 0xE0, 4, ".qor", 0xA00, kNoArchiveSection},
      {"no raw data", 0x80, 0xE0, 4, ".qorv", 0, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PeLayout layout;
    layout.peOffset = c.peOffset;
    layout.optionalHeaderSize = c.optionalHeaderSize;
    for (int i = 0; i + 1 < c.sectionCount; ++i) {
      layout.sections.push_back({".s" + std::to_string(i), 0x100, 0x1000u * uint32_t(i + 1),
                                 0x200, 0x400u + 0x200u * uint32_t(i)});
    }
    layout.sections.push_back({c.archiveName, 0x300, 0x90000, 0x4000, c.rawOffset});
    ArchiveSection section;
    section.index = -7;
    EXPECT_EQ(Locate(MakePeHeaders(layout), section), c.expected);
    if (c.expected == 0) {
      EXPECT_EQ(section.index, c.sectionCount - 1);
      EXPECT_EQ(section.virtualAddress, 0x90000u);
      EXPECT_EQ(section.tableOffset, uint32_t(layout.TableOffset()));
    } else {
      EXPECT_EQ(section.index, -7) << "filled on failure";
    }
  }
}

// The name field is compared as a text: bytes after its NUL do not matter, and the first
// matching entry wins.
TEST(LocateArchiveSectionTest, NameComparedUpToItsNulAndFirstMatchWins) {
  PeLayout layout = InstallerLayout();
  layout.sections[1].name = std::string(".qorv\0zz", 8);
  ArchiveSection section;
  ASSERT_EQ(Locate(MakePeHeaders(layout), section), 0);
  EXPECT_EQ(section.index, 1);
  EXPECT_EQ(section.rawOffset, 0x600u);
}

// An archive entry with PointerToRawData 0 stops the walk even when a later one would do.
TEST(LocateArchiveSectionTest, ZeroRawOffsetOfTheFirstMatchIsRefused) {
  PeLayout layout = InstallerLayout();
  layout.sections[2] = {".qorv", 0x100, 0x3000, 0x200, 0};
  ArchiveSection section;
  EXPECT_EQ(Locate(MakePeHeaders(layout), section), 9);
}

// Cutting the file at every length up to the end of the archive's entry: each cut fails with
// the code of the field it breaks, and entries after the match are never needed.
TEST(LocateArchiveSectionTest, ShortFilesAreRefusedByTheFieldTheyBreak) {
  PeLayout layout = InstallerLayout();
  layout.sections[1].name = ".qorv";  // the match, with two entries after it
  const std::vector<uint8_t> file = MakePeHeaders(layout);
  const long matchEnd = long(layout.EntryOffset(2));
  for (long length = 0; length <= long(file.size()); ++length) {
    SCOPED_TRACE(length);
    int expected = 0;
    if (length < 0x3E) {
      expected = 43;
    } else if (length < matchEnd) {
      expected = 44;  // section count, optional header size, or the table before the match
    }
    ArchiveSection section;
    EXPECT_EQ(Locate(file, section, length), expected);
  }
}

TEST(LocateArchiveSectionTest, TableRunningPastTheBytesBeforeAnyMatch) {
  PeLayout layout = InstallerLayout();
  layout.sections[3].name = ".data";  // no archive at all
  const std::vector<uint8_t> file = MakePeHeaders(layout);
  ArchiveSection section;
  EXPECT_EQ(Locate(file, section), kNoArchiveSection);
  EXPECT_EQ(Locate(file, section, long(layout.EntryOffset(4)) - 1), 44);
  EXPECT_EQ(Locate(file, section, long(layout.EntryOffset(4))), kNoArchiveSection);
}

TEST(LocateArchiveSectionTest, NullFileIsRefused) {
  ArchiveSection section;
  EXPECT_EQ(LocateArchiveSection(nullptr, 0, section), 43);
}

TEST(BuilderVersionTest, AcceptsThisEngineAndOlderBuilders) {
  struct Case {
    uint32_t version;
    bool accepted;
  };
  const Case cases[] = {
      {0, true},     {1000, true},   {1110, true},        {1111, true},
      {1112, false}, {1120, false},  {0x7FFFFFFF, false}, {0xFFFFFFFF, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    EXPECT_EQ(BuilderVersionAccepted(c.version), c.accepted);
  }
}

// The prologue of an archive section, field by field, with the code that a section cut inside
// each field must give.
struct PrologueFields {
  uint32_t magic = kArchiveMagic;
  uint32_t version = 1110;
  uint32_t storedHeaderSize = 6;
  uint32_t headerChecksum = 0x11111111;
  uint32_t imageChecksum = 0x22222222;
  int32_t sectionDataEnd = -100;  // -100: the end of the section as built
  int32_t fileCount = -100;       // -100: lengths.size()
  int32_t dataSize = 0x333;
  uint32_t dataChecksum = 0x44444444;
  std::vector<int32_t> lengths = {5, 0, 0x40000000};
  int dataBytes = 10;
  int headerBytesMissing = 0;  // fewer stored header bytes written than storedHeaderSize says
};

ArchiveBytes BuildPrologue(const PrologueFields& f) {
  const int count = f.fileCount != -100 ? f.fileCount : int(f.lengths.size());
  const int headerBytes = int(f.storedHeaderSize) - f.headerBytesMissing;
  const int total = kPrologueFixedSize + 4 * int(f.lengths.size()) + headerBytes + f.dataBytes;
  ArchiveBytes b;
  b.Mark(20).U32(f.magic);
  b.Mark(22).U32(f.version).U32(f.storedHeaderSize);
  b.Mark(45).U32(f.headerChecksum).U32(f.imageChecksum);
  b.S32(f.sectionDataEnd != -100 ? f.sectionDataEnd : total);
  b.Mark(27).S32(count);
  b.Mark(29).S32(f.dataSize);
  b.Mark(f.lengths.empty() ? 22 : 28).U32(f.dataChecksum);
  for (int32_t length : f.lengths) b.S32(length);
  b.Mark(22).Fill(0xC3, headerBytes);
  b.Mark(0).Fill(0xD4, f.dataBytes);
  return b;
}

int ReadPrologue(const std::vector<char>& bytes, ArchivePrologue& prologue) {
  return ReadArchivePrologue(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                             prologue);
}

TEST(ReadArchivePrologueTest, ReadsEveryFieldAndPlacesHeaderAndData) {
  PrologueFields f;
  const ArchiveBytes b = BuildPrologue(f);
  ArchivePrologue p;
  ASSERT_EQ(ReadPrologue(b.All(), p), 0);
  EXPECT_EQ(p.magic, kArchiveMagic);
  EXPECT_EQ(p.builderVersion, 1110u);
  EXPECT_EQ(p.storedHeaderSize, 6u);
  EXPECT_EQ(p.headerChecksum, 0x11111111u);
  EXPECT_EQ(p.imageChecksum, 0x22222222u);
  EXPECT_EQ(p.sectionDataEnd, b.Length());
  EXPECT_EQ(p.fileCount, 3);
  EXPECT_EQ(p.dataSize, 0x333);
  EXPECT_EQ(p.dataChecksum, 0x44444444u);
  ASSERT_EQ(p.fileLengths.Count(), 3);
  EXPECT_EQ(p.fileLengths[0], 5);
  EXPECT_EQ(p.fileLengths[1], 0);
  EXPECT_EQ(p.fileLengths[2], 0x40000000);
  EXPECT_EQ(p.storedHeaderOffset, 36u + 12u);
  EXPECT_EQ(p.dataStartOffset, 36u + 12u + 6u);
}

TEST(ReadArchivePrologueTest, ChecksAndTheirOrder) {
  struct Case {
    const char* what;
    void (*change)(PrologueFields&);
    int expected;
  };
  const Case cases[] = {
      {"good", [](PrologueFields&) {}, 0},
      {"wrong magic", [](PrologueFields& f) { f.magic = kArchiveMagic ^ 1; }, 20},
      {"newest accepted builder", [](PrologueFields& f) { f.version = 1111; }, 0},
      {"newer builder", [](PrologueFields& f) { f.version = 1112; }, kBuilderVersionTooNew},
      {"magic before version",
       [](PrologueFields& f) {
         f.magic = 0;
         f.version = 1112;
       },
       20},
      {"version before sizes",
       [](PrologueFields& f) {
         f.version = 0xFFFFFFFF;
         f.storedHeaderSize = 0;
       },
       kBuilderVersionTooNew},
      {"stored header size 0", [](PrologueFields& f) { f.storedHeaderSize = 0; }, 22},
      {"stored header size at the limit",
       [](PrologueFields& f) { f.storedHeaderSize = kStoredHeaderLimit; }, 22},
      {"stored header size negative",
       [](PrologueFields& f) { f.storedHeaderSize = 0xFFFFFFFF; }, 22},
      {"section data end negative", [](PrologueFields& f) { f.sectionDataEnd = -1; }, 45},
      {"section data end 0", [](PrologueFields& f) { f.sectionDataEnd = 0; }, 0},
      {"section data end past the section",
       [](PrologueFields& f) { f.sectionDataEnd = 36 + 12 + 6 + 10 + 1; }, 45},
      {"45 before 27",
       [](PrologueFields& f) {
         f.sectionDataEnd = -1;
         f.fileCount = -1;
       },
       45},
      {"file count negative", [](PrologueFields& f) { f.fileCount = -1; }, 27},
      {"27 before 29",
       [](PrologueFields& f) {
         f.fileCount = -1;
         f.dataSize = -1;
       },
       27},
      {"data size negative", [](PrologueFields& f) { f.dataSize = -1; }, 29},
      {"29 before 28",
       [](PrologueFields& f) {
         f.dataSize = -1;
         f.lengths[0] = -1;
       },
       29},
      {"file length negative", [](PrologueFields& f) { f.lengths[1] = -1; }, 28},
      {"file length above 1 GB", [](PrologueFields& f) { f.lengths[2] = 0x40000001; }, 28},
      {"file count beyond the section", [](PrologueFields& f) { f.fileCount = 0x7FFFFFFF; }, 28},
      {"no files", [](PrologueFields& f) { f.lengths.clear(); }, 0},
      {"stored header one byte past the section",
       [](PrologueFields& f) {
         f.dataBytes = 0;
         f.sectionDataEnd = 0;
         f.headerBytesMissing = 1;
       },
       22},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PrologueFields f;
    c.change(f);
    ArchivePrologue p;
    p.builderVersion = 0xEEEEEEEE;
    EXPECT_EQ(ReadPrologue(BuildPrologue(f).All(), p), c.expected);
    if (c.expected == kBuilderVersionTooNew) {
      EXPECT_EQ(p.builderVersion, f.version);
    }
  }
}

TEST(ReadArchivePrologueTest, LargestStoredHeaderFits) {
  PrologueFields f;
  f.storedHeaderSize = kStoredHeaderLimit - 1;
  f.lengths = {};
  f.dataBytes = 0;
  ArchivePrologue p;
  ASSERT_EQ(ReadPrologue(BuildPrologue(f).All(), p), 0);
  EXPECT_EQ(p.dataStartOffset, 36u + kStoredHeaderLimit - 1);
}

// With SectionDataEnd 0 every cut reaches the check of the field it breaks.
TEST(ReadArchivePrologueTest, EveryCutGivesTheCodeOfTheFieldItBreaks) {
  for (bool withFiles : {true, false}) {
    SCOPED_TRACE(withFiles ? "with files" : "without files");
    PrologueFields f;
    f.sectionDataEnd = 0;
    if (!withFiles) f.lengths.clear();
    const ArchiveBytes b = BuildPrologue(f);
    for (int cut = 0; cut <= b.Length(); ++cut) {
      SCOPED_TRACE(cut);
      ArchivePrologue p;
      EXPECT_EQ(ReadPrologue(b.Cut(cut), p), cut == b.Length() ? 0 : b.CodeForCut(cut));
    }
  }
}

// When SectionDataEnd names the end of the whole section, any cut after that word fails there.
TEST(ReadArchivePrologueTest, CutBeforeTheSectionDataEndIsCode45) {
  PrologueFields f;
  const ArchiveBytes b = BuildPrologue(f);
  for (int cut = 24; cut < b.Length(); ++cut) {
    SCOPED_TRACE(cut);
    ArchivePrologue p;
    EXPECT_EQ(ReadPrologue(b.Cut(cut), p), 45);
  }
}

TEST(ReadArchivePrologueTest, NullSectionIsRefusedAsNoMagic) {
  ArchivePrologue p;
  EXPECT_EQ(ReadArchivePrologue(nullptr, 100, p), 20);
}

TEST(ScrambleHeaderTest, EachByteTakesTheKeyByteOfItsPlaceInTheWord) {
  const uint32_t key = 0xA1B2C3D4;
  const uint8_t keyBytes[4] = {0xD4, 0xC3, 0xB2, 0xA1};
  for (size_t length = 0; length <= 9; ++length) {
    SCOPED_TRACE(length);
    std::vector<char> bytes;
    for (size_t i = 0; i < length; ++i) bytes.push_back(char(0x10 + i));
    std::vector<char> scrambled = bytes;
    ScrambleHeader(scrambled.data(), scrambled.size(), key);
    for (size_t i = 0; i < length; ++i) {
      EXPECT_EQ(uint8_t(scrambled[i]), uint8_t(bytes[i] ^ keyBytes[i % 4])) << i;
    }
    ScrambleHeader(scrambled.data(), scrambled.size(), key);
    EXPECT_EQ(scrambled, bytes) << "scrambling twice restores the bytes";
  }
}

}  // namespace
