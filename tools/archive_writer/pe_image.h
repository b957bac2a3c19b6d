// The PE structures the writer touches when it appends the archive section to the engine image:
// the section table, the alignments, and the size fields the engine's uninstaller fix-up
// subtracts again. Both PE32 (the shipped i686 engine) and PE32+ (the x86_64 test build).
#pragma once

#include <cstdint>

#include "archive/pe_layout.h"
#include "core/string.h"

struct PeLayout {
  uint32_t peHeaderOffset = 0;
  bool pe32Plus = false;
  int sectionCount = 0;
  uint32_t sectionTableOffset = 0;  // file offset of the first entry
  uint32_t fileAlignment = 0;
  uint32_t sectionAlignment = 0;
  uint32_t sizeOfImage = 0;
  uint32_t sizeOfHeaders = 0;
  uint32_t headerRoomEnd = 0;       // SizeOfHeaders, or the first section's raw data if lower
};

// initialized data | readable
inline constexpr uint32_t kArchiveSectionCharacteristics = 0x40000040;

// Reads the layout and checks that the engine can take one more section that its uninstaller
// fix-up removes exactly: a PE image (DOS and PE signatures, PE32 or PE32+) whose PE header
// offset the engine accepts (0x40 .. 0x1000), whose section count stays within 4 .. 99 with one
// more, that has no ".qorv" section yet, whose alignments are powers of two and whose
// SizeOfImage is a multiple of the section alignment, and whose headers hold, right after the
// section table, 80 zero bytes before SizeOfHeaders and before the first section's data: the
// new entry and the 40 bytes the uninstaller moves into its slot. False with `error` otherwise.
bool ReadPeLayout(const String& image, PeLayout& layout, String& error);

// The new section's place: PointerToRawData, SizeOfRawData, VirtualAddress and VirtualSize.
struct SectionPlacement {
  uint32_t rawOffset = 0;
  uint32_t rawSize = 0;
  uint32_t virtualAddress = 0;
  uint32_t virtualSize = 0;
};

// Where a section of contentLength bytes, of which the first mappedLength are mapped, goes:
// at the end of the file rounded up to FileAlignment; SizeOfRawData a multiple of both
// alignments; VirtualAddress at the old SizeOfImage; VirtualSize the whole raw size, or
// mappedLength rounded up to the section alignment when that is smaller.
SectionPlacement PlaceSection(const PeLayout& layout, uint32_t fileLength, uint32_t contentLength,
                              uint32_t mappedLength);

// Appends the section: zeros up to rawOffset, the contents, zeros up to rawSize; writes its
// entry, adds one to the section count, adds rawSize to SizeOfInitializedData and SizeOfImage,
// and sets the optional header's CheckSum to 0.
void AppendSection(String& image, const PeLayout& layout, const char* name, const String& contents,
                   const SectionPlacement& placement);
