// The layout of the archive section ".qorv" at the end of the installer's PE image: where the
// section is found, and the fixed prologue at its start. Pure logic over bytes, shared by the
// engine (which reads its own file) and the builder's inspector.
#pragma once

#include <cstddef>
#include <cstdint>

#include "archive/corrupt_codes.h"
#include "core/string.h"
#include "core/vector.h"

inline constexpr char kArchiveSectionName[] = ".qorv";
inline constexpr uint32_t kArchiveMagic = 0xA4F23DE5;
// This engine's version in hundredths: 11.1. Archives of builders up to 11.11 are read.
inline constexpr uint32_t kEngineVersion = 1110;
inline constexpr uint32_t kStoredHeaderLimit = 0xA00000;  // stored header sizes stay below
inline constexpr int32_t kFileLengthLimit = 0x40000000;
inline constexpr int kPrologueFixedSize = 36;             // the nine words before the lengths

// What the section table says of the archive section (file offsets and sizes).
struct ArchiveSection {
  uint32_t peHeaderOffset = 0;
  int sectionCount = 0;
  uint32_t tableOffset = 0;    // file offset of the first section-table entry
  int index = 0;               // the archive's entry in the table
  uint32_t virtualAddress = 0;
  uint32_t virtualSize = 0;
  uint32_t rawSize = 0;        // SizeOfRawData
  uint32_t rawOffset = 0;      // PointerToRawData
};

// The number of leading bytes of a file that LocateArchiveSection may need: the largest PE
// header offset, optional header and section table there can be.
inline constexpr size_t kPeHeadersReadLimit = 0x1000 + 0x18 + 0xFFFF + 99 * 40;

// Walks the PE headers in the first `length` bytes of a file (at most the whole file) to the
// first section named exactly ".qorv" (the 8-byte name compared as a NUL-terminated text, case
// counting). Returns 0 with `section` filled, kNoArchiveSection when no entry matches, or the
// corrupt-installer code of the check that failed, with `section` untouched: 43 (PE header
// offset unreadable or outside 0x40 .. 0x1000), 44 (section count unreadable or outside
// 4 .. 99, optional header size unreadable, or a table entry up to the archive's that runs past
// the bytes given; entries after the archive's are not read), 9 (PointerToRawData 0).
CorruptCode LocateArchiveSection(const uint8_t* file, size_t length, ArchiveSection& section);

// The fixed words at the section start, the length table, and where the header and data lie.
struct ArchivePrologue {
  uint32_t magic = 0;
  uint32_t builderVersion = 0;
  uint32_t storedHeaderSize = 0;
  uint32_t headerChecksum = 0;
  uint32_t imageChecksum = 0;
  int32_t sectionDataEnd = 0;
  int32_t fileCount = 0;
  int32_t dataSize = 0;
  uint32_t dataChecksum = 0;
  Vector<int32_t> fileLengths;
  uint32_t storedHeaderOffset = 0;  // from the section start
  uint32_t dataStartOffset = 0;     // from the section start: right after the stored header
};

// Reads and checks the prologue from the `sectionSize` readable bytes at `section`, in the
// order the engine checks it: the magic (20), then the builder version (kBuilderVersionTooNew,
// with builderVersion filled, for the caller's version box), then the sizes and counts (22, 45,
// 27, 29, 28) and the placement of the stored header (22: it must end within the section).
// SectionDataEnd must lie in 0 .. sectionSize (45). Returns 0 or that code; nothing outside the
// section is read. A field that lies past the section end fails with the code of its own check,
// or, for an unchecked word, of the next check: BuilderVersion 22, HeaderChecksum and
// ImageChecksum 45, DataChecksum 28 (22 when FileCount is 0). Fields read before a failure keep
// their values.
CorruptCode ReadArchivePrologue(const uint8_t* section, size_t sectionSize,
                                ArchivePrologue& prologue);

// Archives of this engine's version and older are read; newer ones (11.12 and above) are not.
bool BuilderVersionAccepted(uint32_t builderVersion);

// XORs every 32-bit little-endian word with key and the last 1 to 3 bytes with the key's low
// bytes in order. Scrambling and unscrambling are the same operation.
void ScrambleHeader(char* bytes, size_t length, uint32_t key);
