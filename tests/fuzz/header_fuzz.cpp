// Feeds arbitrary bytes to the archive readers: as a decompressed header block (product flags,
// header fields with a fuzzer-chosen installer size, language tables), as an archive section
// (prologue, then the file entries of the data that follows), as the start of an installer file
// (PE walk, then the uninstaller image), and to the language tables and the file entries alone.
// Every reader gets an exact-size heap copy of its bytes, so that AddressSanitizer reports any
// read past them; each result is checked against the readers' contracts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "archive/archive_header.h"
#include "archive/archive_layout.h"
#include "archive/file_entry.h"
#include "archive/header_stream.h"
#include "archive/uninstaller_image.h"
#include "config/language_table.h"

namespace {

// The bytes of one run, copied to a block of exactly their size.
class ExactCopy {
 public:
  ExactCopy(const uint8_t* data, size_t size)
      : bytes_(static_cast<uint8_t*>(std::malloc(size ? size : 1))), size_(size) {
    if (size) std::memcpy(bytes_, data, size);
  }
  ~ExactCopy() { std::free(bytes_); }
  ExactCopy(const ExactCopy&) = delete;
  ExactCopy& operator=(const ExactCopy&) = delete;

  const uint8_t* Bytes() const { return size_ ? bytes_ : nullptr; }
  const char* Chars() const { return reinterpret_cast<const char*>(Bytes()); }
  char* Chars() { return reinterpret_cast<char*>(size_ ? bytes_ : nullptr); }
  size_t Size() const { return size_; }

 private:
  uint8_t* bytes_;
  size_t size_;
};

bool IsOneOf(int code, std::initializer_list<int> codes) {
  for (int c : codes) {
    if (code == c) return true;
  }
  return false;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

void FuzzHeaderBlock(const uint8_t* data, size_t size, uint32_t installerFileSize) {
  const ExactCopy copy(data, size);
  HeaderStream in(copy.Chars(), copy.Size());
  ArchiveHeader header;
  if (!ReadProductFlags(in, header.productFlags)) {
    Check(size < 8);
    return;
  }
  const int fields = ReadHeaderFields(in, installerFileSize, header);
  Check(IsOneOf(fields, {0, 19, 21, 23, 24, 26, 36, 37, 38}));
  Check(in.Position() <= copy.Size());
  if (fields != 0) return;
  Check(header.stageDelay <= kMaxStageDelay);
  Check(header.licenseTexts.Count() <= kMaxHeaderTexts);
  Check(header.readmeTexts.Count() <= kMaxHeaderTexts);
  Check(!header.volumeBase.IsBlank());
  Check(header.uninstallerPatchOffset <= installerFileSize);
  Check(header.deletionSpecs.Count() <= kMaxDeletionSpecs);
  Check(header.fileAssociations.Count() <= kMaxHeaderRecords);
  Check(header.uninstallValues.Count() <= kMaxHeaderRecords);

  LanguageTables tables;
  const int languages = ReadLanguageTables(in, tables);
  Check(IsOneOf(languages, {0, 30, 31, 32}));
  Check(in.Position() <= copy.Size());
  if (languages != 0) return;
  Check(tables.names.Count() >= 1 && tables.names.Count() <= kMaxLanguages);
  Check(tables.texts.Count() >= 1 && tables.texts.Count() <= kMaxStringIds);
  Check(tables.defaultLanguage >= 0 && tables.defaultLanguage < tables.names.Count());
  for (int id = 0; id < tables.texts.Count(); ++id) {
    Check(tables.texts[id].Count() == tables.names.Count());
  }
}

void FuzzSection(const uint8_t* data, size_t size) {
  const ExactCopy copy(data, size);
  ArchivePrologue prologue;
  const int code = ReadArchivePrologue(copy.Bytes(), copy.Size(), prologue);
  Check(IsOneOf(code, {0, kBuilderVersionTooNew, 20, 22, 27, 28, 29, 45}));
  if (code != 0) return;
  Check(prologue.fileLengths.Count() == prologue.fileCount);
  Check(prologue.dataStartOffset <= copy.Size());
  Check(size_t(prologue.sectionDataEnd) <= copy.Size());
  Check(prologue.storedHeaderOffset + prologue.storedHeaderSize == prologue.dataStartOffset);

  // The stored header, unscrambled in its own exact copy.
  ExactCopy header(copy.Bytes() + prologue.storedHeaderOffset, prologue.storedHeaderSize);
  ScrambleHeader(header.Chars(), header.Size(), prologue.headerChecksum);

  // Whatever follows the stored header, read as the data block's entries.
  const ExactCopy block(copy.Bytes() + prologue.dataStartOffset,
                        copy.Size() - prologue.dataStartOffset);
  size_t offset = 0;
  for (int i = 0; i < prologue.fileCount; ++i) {
    FileEntry entry;
    const size_t before = offset;
    const int entryCode =
        ReadFileEntry(block.Chars(), block.Size(), offset, prologue.fileLengths[i], entry);
    Check(IsOneOf(entryCode, {0, 70, 71, 72, 100}));
    if (entryCode != 0) {
      Check(offset == before);
      break;
    }
    Check(offset > before && offset <= block.Size());
  }
}

void FuzzInstallerFile(const uint8_t* data, size_t size, uint32_t patchOffset) {
  const ExactCopy copy(data, size);
  ArchiveSection section;
  const int code = LocateArchiveSection(copy.Bytes(), copy.Size(), section);
  Check(IsOneOf(code, {0, kNoArchiveSection, 9, 43, 44}));
  if (code != 0) return;
  Check(section.index >= 0 && section.index < section.sectionCount);

  // The uninstaller image from whatever the section table claims, clipped to the file.
  const size_t before = section.rawOffset < size ? section.rawOffset : size;
  const size_t afterStart = uint64_t(section.rawOffset) + section.rawSize < size
                                ? size_t(section.rawOffset) + section.rawSize
                                : size;
  const String beforeBytes(copy.Chars(), int(before));
  const String afterBytes(copy.Chars() + afterStart, int(size - afterStart));
  const String patch(copy.Chars(), int(size < 16 ? size : 16));
  const String image = MakeUninstallerImage(beforeBytes, afterBytes, section, patchOffset, patch);
  Check(image.Length() == beforeBytes.Length() + afterBytes.Length());
}

// The language tables alone, which a fuzzer seldom reaches through a whole header.
void FuzzLanguageTables(const uint8_t* data, size_t size) {
  const ExactCopy copy(data, size);
  HeaderStream in(copy.Chars(), copy.Size());
  LanguageTables tables;
  const int code = ReadLanguageTables(in, tables);
  Check(IsOneOf(code, {0, 30, 31, 32}));
  if (code == 0) Check(tables.defaultLanguage < tables.names.Count());
}

// File entries back to back over the bytes, every entry `length` bytes of data long.
void FuzzFileEntries(const uint8_t* data, size_t size, int32_t length) {
  const ExactCopy block(data, size);
  size_t offset = 0;
  for (;;) {
    FileEntry entry;
    const size_t before = offset;
    const int code = ReadFileEntry(block.Chars(), block.Size(), offset, length, entry);
    Check(IsOneOf(code, {0, 70, 71, 72, 100}));
    if (code != 0) {
      Check(offset == before);
      return;
    }
    Check(offset > before && offset <= block.Size());
    Check(entry.data >= block.Chars() && entry.data + entry.length <= block.Chars() + size);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5 || size > (1u << 20)) return 0;
  // The first byte chooses the reader, the next four the installer size or patch offset.
  const uint8_t choice = data[0];
  uint32_t number;
  std::memcpy(&number, data + 1, 4);
  data += 5;
  size -= 5;
  switch (choice % 5) {
    case 0:
      FuzzHeaderBlock(data, size, number);
      break;
    case 1:
      FuzzSection(data, size);
      break;
    case 2:
      FuzzInstallerFile(data, size, number % (uint32_t(size) + 2));
      break;
    case 3:
      FuzzLanguageTables(data, size);
      break;
    default:
      // Mostly small lengths, so that entries fit; now and then any value at all.
      FuzzFileEntries(data, size, (choice & 0x80) ? int32_t(number) : int32_t(number % 64));
      break;
  }
  return 0;
}
