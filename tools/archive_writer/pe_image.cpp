#include "tools/archive_writer/pe_image.h"

#include <cstring>

#include "archive/archive_layout.h"
#include "core/little_endian.h"

namespace {

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
// The optional header must reach past CheckSum, the last field written here.
constexpr uint32_t kLeastOptionalHeaderSize = kPeCheckSumField + 4 - kPeOptionalHeader;

uint32_t U32At(const String& image, uint32_t offset) {
  return uint32_t(image.ReadU32At(int(offset)));
}
uint16_t U16At(const String& image, uint32_t offset) { return LoadU16(image.CStr() + offset); }

bool IsPowerOfTwo(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

uint64_t RoundUp(uint64_t v, uint32_t alignment) {
  return (v + alignment - 1) / alignment * alignment;
}

bool Fail(String& error, const char* text) {
  error = text;
  return false;
}

bool AllZero(const String& image, uint32_t offset, uint32_t n) {
  const char* bytes = image.CStr() + offset;
  for (uint32_t i = 0; i < n; ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

}  // namespace

bool ReadPeLayout(const String& image, PeLayout& layout, String& error) {
  layout = PeLayout();
  const uint32_t length = uint32_t(image.Length());
  if (length < 0x40 || image.CharAt(0) != 'M' || image.CharAt(1) != 'Z') {
    return Fail(error, "the engine is not a Windows program (no MZ header)");
  }
  const uint32_t pe = U32At(image, kPeOffsetField);
  if (pe < kLowestPeOffset || pe > kHighestPeOffset) {
    return Fail(error, "the engine's PE header offset is outside 0x40 .. 0x1000");
  }
  if (uint64_t(pe) + kPeOptionalHeader + 2 > length || std::memcmp(image.CStr() + pe, "PE\0\0", 4)) {
    return Fail(error, "the engine is not a PE image (no PE signature)");
  }
  const uint16_t optionalSize = U16At(image, pe + kPeOptionalHeaderSizeField);
  const uint16_t magic = U16At(image, pe + kPeOptionalHeader);
  if (magic != kPe32Magic && magic != kPe32PlusMagic) {
    return Fail(error, "the engine's optional header is neither PE32 nor PE32+");
  }
  if (optionalSize < kLeastOptionalHeaderSize) {
    return Fail(error, "the engine's optional header is too short");
  }
  layout.peHeaderOffset = pe;
  layout.pe32Plus = magic == kPe32PlusMagic;
  layout.sectionCount = U16At(image, pe + kPeSectionCountField);
  layout.sectionTableOffset = pe + kPeOptionalHeader + optionalSize;
  const uint64_t tableEnd =
      uint64_t(layout.sectionTableOffset) + uint64_t(layout.sectionCount) * kSectionEntrySize;
  if (tableEnd > length) return Fail(error, "the engine's section table runs past its end");
  layout.sectionAlignment = U32At(image, pe + kPeSectionAlignmentField);
  layout.fileAlignment = U32At(image, pe + kPeFileAlignmentField);
  layout.sizeOfImage = U32At(image, pe + kPeSizeOfImageField);
  layout.sizeOfHeaders = U32At(image, pe + kPeSizeOfHeadersField);
  if (!IsPowerOfTwo(layout.sectionAlignment) || !IsPowerOfTwo(layout.fileAlignment)) {
    return Fail(error, "the engine's section or file alignment is not a power of two");
  }
  if (layout.sizeOfImage % layout.sectionAlignment != 0) {
    return Fail(error, "the engine's SizeOfImage is not a multiple of its section alignment");
  }
  if (layout.sectionCount + 1 < kFewestSections || layout.sectionCount + 1 > kMostSections) {
    return Fail(error, "the engine would not have 4 .. 99 sections with the archive section");
  }

  layout.headerRoomEnd = layout.sizeOfHeaders;
  for (int i = 0; i < layout.sectionCount; ++i) {
    const uint32_t entry = layout.sectionTableOffset + uint32_t(i) * kSectionEntrySize;
    char name[kSectionNameSize + 1] = {};
    std::memcpy(name, image.CStr() + entry, kSectionNameSize);
    if (std::strcmp(name, kArchiveSectionName) == 0) {
      return Fail(error, "the engine already holds an archive section (.qorv)");
    }
    const uint32_t rawSize = U32At(image, entry + kSectionRawSizeField);
    const uint32_t rawOffset = U32At(image, entry + kSectionRawOffsetField);
    if (rawSize > 0 && rawOffset > 0 && rawOffset < layout.headerRoomEnd) {
      layout.headerRoomEnd = rawOffset;
    }
  }
  const uint64_t roomNeeded = tableEnd + 2 * kSectionEntrySize;
  if (roomNeeded > layout.headerRoomEnd || roomNeeded > length) {
    return Fail(error, "the engine's headers have no room for another section entry");
  }
  if (!AllZero(image, uint32_t(tableEnd), 2 * kSectionEntrySize)) {
    return Fail(error, "the bytes after the engine's section table are not zero");
  }
  return true;
}

SectionPlacement PlaceSection(const PeLayout& layout, uint32_t fileLength, uint32_t contentLength,
                              uint32_t mappedLength) {
  const uint32_t alignment = layout.fileAlignment > layout.sectionAlignment
                                 ? layout.fileAlignment
                                 : layout.sectionAlignment;
  SectionPlacement placement;
  placement.rawOffset = uint32_t(RoundUp(fileLength, layout.fileAlignment));
  placement.rawSize = uint32_t(RoundUp(contentLength > 0 ? contentLength : 1, alignment));
  placement.virtualAddress = uint32_t(RoundUp(layout.sizeOfImage, layout.sectionAlignment));
  const uint32_t mapped = uint32_t(RoundUp(mappedLength, layout.sectionAlignment));
  placement.virtualSize = mapped < placement.rawSize ? mapped : placement.rawSize;
  return placement;
}

void AppendSection(String& image, const PeLayout& layout, const char* name, const String& contents,
                   const SectionPlacement& placement) {
  const int oldLength = image.Length();
  image.Resize(int(placement.rawOffset + placement.rawSize));
  char* bytes = image.Data();
  std::memset(bytes + oldLength, 0, size_t(int(placement.rawOffset) - oldLength));
  std::memcpy(bytes + placement.rawOffset, contents.CStr(), size_t(contents.Length()));
  std::memset(bytes + placement.rawOffset + contents.Length(), 0,
              size_t(placement.rawSize - uint32_t(contents.Length())));

  const uint32_t entry =
      layout.sectionTableOffset + uint32_t(layout.sectionCount) * kSectionEntrySize;
  std::memset(bytes + entry, 0, kSectionEntrySize);
  std::memcpy(bytes + entry, name, std::strlen(name) < 8 ? std::strlen(name) : 8);
  image.WriteU32At(int(entry + kSectionVirtualSizeField), placement.virtualSize);
  image.WriteU32At(int(entry + kSectionVirtualAddressField), placement.virtualAddress);
  image.WriteU32At(int(entry + kSectionRawSizeField), placement.rawSize);
  image.WriteU32At(int(entry + kSectionRawOffsetField), placement.rawOffset);
  image.WriteU32At(int(entry + kSectionCharacteristicsField), kArchiveSectionCharacteristics);

  const uint32_t pe = layout.peHeaderOffset;
  image.WriteU16At(int(pe + kPeSectionCountField), uint16_t(layout.sectionCount + 1));
  image.WriteU32At(int(pe + kPeInitializedDataField),
                   image.ReadU32At(int(pe + kPeInitializedDataField)) + placement.rawSize);
  image.WriteU32At(int(pe + kPeSizeOfImageField), layout.sizeOfImage + placement.rawSize);
  image.WriteU32At(int(pe + kPeCheckSumField), 0);
}
