// Cutting the archive section out of the installer image.
//
// Bounds cases (a damaged or unusual file can place headers beyond the bytes kept):
//   a count or size field beyond the image                       left unchanged
//   a later table entry, or the bytes after the table, beyond
//     the image                                                  missing bytes read as zeros
//   a table slot beyond the image                                the bytes within it written,
//                                                                the rest dropped
//   a patch reaching beyond the image, or at offset 0            not applied
//   an archive index outside the section count (not what
//     LocateArchiveSection gives)                                the table left unchanged
#include "archive/uninstaller_image.h"

#include <cstring>

#include "archive/pe_layout.h"
#include "core/little_endian.h"

namespace {

struct TableEntry {
  uint8_t bytes[kSectionEntrySize];
};

// The 40 bytes at `offset`, zeros for those beyond the image.
TableEntry ReadEntry(const String& image, int64_t offset) {
  TableEntry entry = {};
  for (int i = 0; i < int(kSectionEntrySize); ++i) {
    const int64_t at = offset + i;
    if (at >= 0 && at < image.Length()) entry.bytes[i] = uint8_t(image.CStr()[at]);
  }
  return entry;
}

// Writes the bytes of `entry` that fall within the image.
void WriteEntry(String& image, int64_t offset, const TableEntry& entry) {
  for (int i = 0; i < int(kSectionEntrySize); ++i) {
    const int64_t at = offset + i;
    if (at >= 0 && at < image.Length()) *image.CharPtrAt(int(at)) = char(entry.bytes[i]);
  }
}

void SubtractU32At(String& image, int64_t offset, uint32_t amount) {
  if (offset + 4 > image.Length()) return;
  image.WriteU32At(int(offset), image.ReadU32At(int(offset)) - amount);
}

void ReduceRawOffset(TableEntry& entry, uint32_t amount) {
  uint8_t* field = entry.bytes + kSectionRawOffsetField;
  uint32_t value = LoadU32(field) - amount;
  for (int i = 0; i < 4; ++i) field[i] = uint8_t(value >> (8 * i));
}

}  // namespace

String MakeUninstallerImage(const String& beforeSection, const String& afterSection,
                            const ArchiveSection& section, uint32_t patchOffset,
                            const String& patch) {
  String image(beforeSection);
  image.Append(afterSection);
  const int64_t pe = section.peHeaderOffset;

  const int64_t countField = pe + kPeSectionCountField;
  if (countField + 2 <= image.Length()) {
    const uint16_t count = LoadU16(image.CStr() + countField);
    image.WriteU16At(int(countField), uint16_t(count - 1));
  }
  SubtractU32At(image, pe + kPeInitializedDataField, section.rawSize);
  SubtractU32At(image, pe + kPeSizeOfImageField, section.rawSize);

  if (section.index >= 0 && section.index < section.sectionCount) {
    const int64_t table = section.tableOffset;
    for (int i = section.index + 1; i < section.sectionCount; ++i) {
      TableEntry entry = ReadEntry(image, table + int64_t(i) * kSectionEntrySize);
      ReduceRawOffset(entry, section.rawSize);
      WriteEntry(image, table + int64_t(i - 1) * kSectionEntrySize, entry);
    }
    const int64_t tableEnd = table + int64_t(section.sectionCount) * kSectionEntrySize;
    WriteEntry(image, tableEnd - kSectionEntrySize, ReadEntry(image, tableEnd));
  }

  const int64_t patchEnd = int64_t(patchOffset) + patch.Length();
  if (patchOffset > 0 && patch.Length() > 0 && patchEnd <= image.Length()) {
    std::memcpy(image.CharPtrAt(int(patchOffset)), patch.CStr(), size_t(patch.Length()));
  }
  return image;
}
