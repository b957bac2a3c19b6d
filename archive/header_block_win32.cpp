// The stored header block: out of the mapped section, unscrambled, decompressed.
#ifdef _WIN32

#include "archive/corrupt_codes.h"
#include "archive/decompressor.h"
#include "archive/own_archive.h"

CorruptCode UnpackHeaderBlock(const uint8_t* section, size_t sectionSize,
                              const ArchivePrologue& prologue, String& block) {
  size_t start = prologue.storedHeaderOffset;
  size_t length = prologue.storedHeaderSize;
  if (start > sectionSize || length > sectionSize - start) return kBadHeaderLength;
  block.Assign(reinterpret_cast<const char*>(section) + start, int(length));
  ScrambleHeader(block.Data(), length, prologue.headerChecksum);
  if (!DecompressString(block)) return kHeaderDoesNotDecompress;
  return kNoCorruption;
}

#endif  // _WIN32
