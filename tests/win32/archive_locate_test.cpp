// Finding the archive section through the file object, and the bounds of the section as the
// loader mapped it, against real files and the test program's own loaded image.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "archive/own_archive.h"
#include "archive/pe_layout.h"
#include "core/little_endian.h"
#include "platform/file.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::ScratchDir;

constexpr uint32_t kPeOffset = 0x80;
constexpr uint16_t kOptionalHeaderSize = 0xF0;
constexpr int kSections = 4;
constexpr uint32_t kTableOffset = kPeOffset + kPeOptionalHeader + kOptionalHeaderSize;

void PutU16(std::string& bytes, size_t at, uint16_t v) { StoreU16(&bytes[at], v); }

void PutU32(std::string& bytes, size_t at, uint32_t v) { StoreU32(&bytes[at], v); }

// The headers of a PE file whose last section is named `lastName` and whose raw data lies at
// rawOffset, followed by `fileSize` bytes in all.
std::string PeFile(const char* lastName, uint32_t rawOffset, size_t fileSize = 0x2000) {
  std::string bytes(fileSize, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  PutU32(bytes, kPeOffsetField, kPeOffset);
  bytes.replace(kPeOffset, 4, std::string("PE\0\0", 4));
  PutU16(bytes, kPeOffset + kPeSectionCountField, kSections);
  PutU16(bytes, kPeOffset + kPeOptionalHeaderSizeField, kOptionalHeaderSize);
  const char* names[kSections] = {".text", ".data", ".rsrc", lastName};
  for (int i = 0; i < kSections; ++i) {
    size_t entry = kTableOffset + size_t(i) * kSectionEntrySize;
    bytes.replace(entry, std::string(names[i]).size(), names[i]);
    PutU32(bytes, entry + 8, 0x1000);                      // VirtualSize
    PutU32(bytes, entry + 12, 0x1000 * uint32_t(i + 1));   // VirtualAddress
    PutU32(bytes, entry + 16, 0x200);                      // SizeOfRawData
    PutU32(bytes, entry + 20, i == kSections - 1 ? rawOffset : 0x400 + 0x200 * uint32_t(i));
  }
  return bytes;
}

struct Located {
  int code = 0x5EA7;
  ArchiveSection section;
  int fileSize = -2;
  int position = -2;
};

Located Locate(const ScratchDir& scratch, const std::string& bytes) {
  const std::string path = scratch / "setup.exe";
  EXPECT_TRUE(file_test::WriteBytes(path, bytes));
  File file;
  EXPECT_EQ(file.Open(path.c_str(), OpenMode::kReadShared), 0);
  Located out;
  out.section.rawOffset = 0xDEADBEEF;
  out.code = LocateOwnArchive(file, out.section, out.fileSize);
  out.position = file.Tell();
  return out;
}

TEST(ArchiveLocateTest, FindsTheSectionAndPositionsTheFileAtItsRawData) {
  ScratchDir scratch;
  Located found = Locate(scratch, PeFile(".qorv", 0x1000));
  EXPECT_EQ(found.code, 0);
  EXPECT_EQ(found.fileSize, 0x2000);
  EXPECT_EQ(found.section.index, kSections - 1);
  EXPECT_EQ(found.section.virtualAddress, 0x4000u);
  EXPECT_EQ(found.section.rawSize, 0x200u);
  EXPECT_EQ(found.section.rawOffset, 0x1000u);
  EXPECT_EQ(found.position, 0x1000);
}

TEST(ArchiveLocateTest, FailuresGiveTheirCodes) {
  ScratchDir scratch;
  std::string shortFile = PeFile(".qorv", 0x1000).substr(0, 0x3D);
  std::string badOffset = PeFile(".qorv", 0x1000);
  PutU16(badOffset, kPeOffsetField, 0x1001);
  std::string manySections = PeFile(".qorv", 0x1000);
  PutU16(manySections, kPeOffset + kPeSectionCountField, 100);
  std::string cutTable =
      PeFile(".qorv", 0x1000).substr(0, kTableOffset + 3 * kSectionEntrySize + 39);
  struct Case {
    const char* name;
    std::string bytes;
    int code;
  };
  const Case cases[] = {
      {"an empty file", "", 43},
      {"too short for the PE offset", shortFile, 43},
      {"PE offset above 0x1000", badOffset, 43},
      {"100 sections", manySections, 44},
      {"a section table cut short", cutTable, 44},
      {"no archive section", PeFile(".text2", 0x1000), kNoArchiveSection},
      {"the name in upper case", PeFile(".QORV", 0x1000), kNoArchiveSection},
      {"PointerToRawData 0", PeFile(".qorv", 0), 9},
      {"PointerToRawData at 2 GiB", PeFile(".qorv", 0x80000000u), 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Locate(scratch, c.bytes).code, c.code);
  }
}

TEST(ArchiveLocateTest, RawDataBeyondTheEndOfTheFileIsLeftToTheLaterReads) {
  ScratchDir scratch;
  Located found = Locate(scratch, PeFile(".qorv", 0x7FFF0000));
  EXPECT_EQ(found.code, 0);
  EXPECT_EQ(found.position, 0x7FFF0000);
}

TEST(ArchiveLocateTest, TheTestProgramItselfCarriesNoArchive) {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
  ASSERT_GT(n, 0u);
  File file;
  ASSERT_EQ(file.Open(self, OpenMode::kReadShared), 0);
  ArchiveSection section;
  int fileSize = 0;
  EXPECT_EQ(LocateOwnArchive(file, section, fileSize), kNoArchiveSection);
  EXPECT_EQ(fileSize, file.Size());
}

TEST(ArchiveLocateTest, TheMappedSectionStaysWithinTheLoadedImage) {
  auto* base = reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const uint32_t imageSize = nt->OptionalHeader.SizeOfImage;
  ASSERT_GT(imageSize, 0x3000u);
  struct Case {
    const char* name;
    uint32_t virtualAddress, virtualSize, rawSize;
    size_t expected;
  };
  const Case cases[] = {
      {"the virtual size", 0x1000, 0x800, 0x1000, 0x800},
      {"no virtual size: the raw size", 0x1000, 0, 0x600, 0x600},
      {"cut at the end of the image", imageSize - 0x1000, 0x100000, 0x100000, 0x1000},
      {"starting at the end of the image", imageSize, 0x1000, 0x1000, 0},
      {"starting beyond the image", imageSize + 0x5000, 0x1000, 0x1000, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ArchiveSection section;
    section.virtualAddress = c.virtualAddress;
    section.virtualSize = c.virtualSize;
    section.rawSize = c.rawSize;
    size_t size = 0xDEADBEEF;
    const uint8_t* start = MappedArchiveSection(section, size);
    EXPECT_EQ(start, base + c.virtualAddress);
    EXPECT_EQ(size, c.expected);
  }
}

}  // namespace
