// The PE structures that the archive is found in and cut out of: shared by the engine's readers,
// the uninstaller image, the builder's writer and the tests. Offsets in the file header and the
// optional header count from the PE signature; both PE32 (the shipped i686 engine) and PE32+
// (the x86_64 test build) have these fields at the same places.
#pragma once

#include <cstdint>

// In the DOS header: the offset of the PE signature, which the engine accepts in this range.
inline constexpr uint32_t kPeOffsetField = 0x3C;
inline constexpr uint32_t kLowestPeOffset = 0x40;
inline constexpr uint32_t kHighestPeOffset = 0x1000;

inline constexpr uint32_t kPeSectionCountField = 6;
inline constexpr uint32_t kPeOptionalHeaderSizeField = 0x14;
inline constexpr uint32_t kPeOptionalHeader = 0x18;
inline constexpr uint32_t kPeInitializedDataField = kPeOptionalHeader + 8;
inline constexpr uint32_t kPeSectionAlignmentField = kPeOptionalHeader + 32;
inline constexpr uint32_t kPeFileAlignmentField = kPeOptionalHeader + 36;
inline constexpr uint32_t kPeSizeOfImageField = kPeOptionalHeader + 56;
inline constexpr uint32_t kPeSizeOfHeadersField = kPeOptionalHeader + 60;
inline constexpr uint32_t kPeCheckSumField = kPeOptionalHeader + 64;

// The section counts an installer may have: the engine's own sections and the archive, at most
// 99 in all.
inline constexpr int kFewestSections = 4;
inline constexpr int kMostSections = 99;

// A section-table entry.
inline constexpr uint32_t kSectionEntrySize = 40;
inline constexpr uint32_t kSectionNameSize = 8;
inline constexpr uint32_t kSectionVirtualSizeField = 8;
inline constexpr uint32_t kSectionVirtualAddressField = 12;
inline constexpr uint32_t kSectionRawSizeField = 16;
inline constexpr uint32_t kSectionRawOffsetField = 20;
inline constexpr uint32_t kSectionCharacteristicsField = 36;
