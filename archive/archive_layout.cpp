// Finding the archive section in the PE headers, and reading the prologue at its start.
//
// Bounds cases: every field is read only after checking that it lies within the bytes given.
// A field that does not is refused with these codes:
//   PE walk (the file's first bytes):
//     PE header offset (u16 at 0x3C)                  43
//     section count (PE + 6)                          44
//     optional header size (PE + 0x14)                44 (the table it places cannot be found)
//     a section-table entry read during the walk      44 (entries after the match are not read)
//   prologue (the section's bytes):
//     ArchiveMagic                                    20
//     BuilderVersion                                  22 (the next checked field)
//     StoredHeaderSize                                22
//     HeaderChecksum, ImageChecksum                   45 (the next checked field)
//     SectionDataEnd                                  45; also 45 when it lies beyond the section
//     FileCount                                       27
//     DataSize                                        29
//     DataChecksum                                    28, or 22 when FileCount is 0 (the next
//                                                     check: the length table, else the
//                                                     placement of the stored header)
//     the length table                                28
//     the stored header beyond the section end        22
#include "archive/archive_layout.h"

#include <cstring>

#include "archive/corrupt_codes.h"
#include "archive/pe_layout.h"
#include "core/little_endian.h"

namespace {

uint16_t U16At(const uint8_t* p) { return LoadU16(p); }
uint32_t U32At(const uint8_t* p) { return LoadU32(p); }

// The name field is NUL-padded and compared as a text; a name that fills all eight bytes has
// no NUL and is simply longer than ".qorv", so the comparison never needs a ninth byte.
bool IsArchiveSectionName(const uint8_t* name) {
  const size_t length = sizeof(kArchiveSectionName) - 1;
  return std::memcmp(name, kArchiveSectionName, length) == 0 &&
         (length == kSectionNameSize || name[length] == 0);
}

// Reads the prologue's words front to back; each read fails when the word is not there.
class PrologueCursor {
 public:
  PrologueCursor(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

  bool ReadU32(uint32_t& value) {
    if (size_ - offset_ < 4) return false;
    value = U32At(bytes_ + offset_);
    offset_ += 4;
    return true;
  }
  bool ReadS32(int32_t& value) {
    uint32_t word;
    if (!ReadU32(word)) return false;
    value = int32_t(word);
    return true;
  }
  size_t Offset() const { return offset_; }
  size_t Remaining() const { return size_ - offset_; }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t offset_ = 0;
};

}  // namespace

CorruptCode LocateArchiveSection(const uint8_t* file, size_t length, ArchiveSection& section) {
  if (file == nullptr || length < kPeOffsetField + 2) return kBadPeHeaderOffset;
  const uint32_t pe = U16At(file + kPeOffsetField);
  if (pe < kLowestPeOffset || pe > kHighestPeOffset) return kBadPeHeaderOffset;

  if (length < pe + kPeSectionCountField + 2) return kBadSectionCount;
  const int count = U16At(file + pe + kPeSectionCountField);
  if (count < kFewestSections || count > kMostSections) return kBadSectionCount;
  if (length < pe + kPeOptionalHeaderSizeField + 2) return kBadSectionCount;
  const size_t table = pe + kPeOptionalHeader + U16At(file + pe + kPeOptionalHeaderSizeField);

  for (int i = 0; i < count; ++i) {
    const size_t entry = table + size_t(i) * kSectionEntrySize;
    if (length < entry + kSectionEntrySize) return kBadSectionCount;
    const uint8_t* fields = file + entry;
    if (!IsArchiveSectionName(fields)) continue;
    const uint32_t rawOffset = U32At(fields + kSectionRawOffsetField);
    if (rawOffset == 0) return kSectionOffsetZero;
    section.peHeaderOffset = pe;
    section.sectionCount = count;
    section.tableOffset = uint32_t(table);
    section.index = i;
    section.virtualSize = U32At(fields + kSectionVirtualSizeField);
    section.virtualAddress = U32At(fields + kSectionVirtualAddressField);
    section.rawSize = U32At(fields + kSectionRawSizeField);
    section.rawOffset = rawOffset;
    return kNoCorruption;
  }
  return kNoArchiveSection;
}

bool BuilderVersionAccepted(uint32_t builderVersion) {
  // The rule is defined in double precision, where 11.11 - 11.1 comes out just below 0.01 and
  // 11.12 - 11.1 above it. volatile keeps each step a true double: on x87 (the 32-bit build)
  // intermediate results could otherwise stay in 80-bit registers and round differently.
  volatile double version = builderVersion * 0.01;
  volatile double excess = version - 11.1;
  return !(excess > 0.01);
}

CorruptCode ReadArchivePrologue(const uint8_t* section, size_t sectionSize,
                                ArchivePrologue& prologue) {
  if (section == nullptr) sectionSize = 0;
  PrologueCursor in(section, sectionSize);

  if (!in.ReadU32(prologue.magic) || prologue.magic != kArchiveMagic) return kBadArchiveMagic;
  if (!in.ReadU32(prologue.builderVersion)) return kBadHeaderLength;
  if (!BuilderVersionAccepted(prologue.builderVersion)) return kBuilderVersionTooNew;

  if (!in.ReadU32(prologue.storedHeaderSize)) return kBadHeaderLength;
  if (prologue.storedHeaderSize == 0 || prologue.storedHeaderSize >= kStoredHeaderLimit)
    return kBadHeaderLength;
  if (!in.ReadU32(prologue.headerChecksum)) return kNegativeSectionDataEnd;
  if (!in.ReadU32(prologue.imageChecksum)) return kNegativeSectionDataEnd;
  if (!in.ReadS32(prologue.sectionDataEnd)) return kNegativeSectionDataEnd;
  if (prologue.sectionDataEnd < 0 || size_t(prologue.sectionDataEnd) > sectionSize)
    return kNegativeSectionDataEnd;
  if (!in.ReadS32(prologue.fileCount) || prologue.fileCount < 0) return kNegativeFileCount;
  if (!in.ReadS32(prologue.dataSize) || prologue.dataSize < 0) return kNegativeDataBlockLength;
  if (!in.ReadU32(prologue.dataChecksum))
    return prologue.fileCount > 0 ? kBadLengthTableEntry : kBadHeaderLength;

  // A table that cannot fit fails here, as its first missing entry would, before any memory
  // is set aside for a count that the section cannot back.
  if (size_t(prologue.fileCount) > in.Remaining() / 4) return kBadLengthTableEntry;
  prologue.fileLengths.SetSize(prologue.fileCount);
  for (int i = 0; i < prologue.fileCount; ++i) {
    int32_t length = 0;
    if (!in.ReadS32(length) || length < 0 || length > kFileLengthLimit) return kBadLengthTableEntry;
    prologue.fileLengths[i] = length;
  }

  const size_t headerOffset = in.Offset();
  if (prologue.storedHeaderSize > in.Remaining()) return kBadHeaderLength;
  // Offsets are 32-bit; only a section of more than 4 GB could place the data beyond them.
  if (headerOffset + prologue.storedHeaderSize > UINT32_MAX) return kBadHeaderLength;
  prologue.storedHeaderOffset = uint32_t(headerOffset);
  prologue.dataStartOffset = uint32_t(headerOffset + prologue.storedHeaderSize);
  return kNoCorruption;
}

void ScrambleHeader(char* bytes, size_t length, uint32_t key) {
  // Whole words take the key as a little-endian word and the 1 to 3 bytes left over its low
  // bytes in order: both come down to key byte (i mod 4) for byte i.
  for (size_t i = 0; i < length; ++i) bytes[i] = char(bytes[i] ^ char(key >> (8 * (i & 3))));
}
