// The steps of BuildInstaller, one by one, so that a caller can change any part between them.
// The engine's tests use this to build DAMAGED installers: every word of the prologue can be set
// to any value, a header block can be stored under a checksum that is not its own, and the data
// block can be replaced; AssembleInstaller then writes exactly what the parts hold.
//
//   ArchiveParts parts;
//   PrepareArchiveParts(engine, plan, parts, error);   // everything consistent
//   parts.magic = 0;                                   // one damage
//   AssembleInstaller(engine, parts, installer, error);
#pragma once

#include <cstdint>

#include "archive/archive_header.h"
#include "archive/archive_layout.h"
#include "archive/file_entry.h"
#include "config/language_table.h"
#include "core/string.h"
#include "core/vector.h"
#include "tools/archive_writer/archive_writer.h"

// The decompressed header block: every ArchiveHeader field in stored order, then the language
// tables. Counts are those of the vectors, written even beyond the archive's limits. MasterProduct
// is written only with ProductFlags bit 16; the uninstaller patch only with bit 2 (its length and
// bytes only when the offset is above 0). Texts end at their first NUL.
String SerializeHeaderBlock(const ArchiveHeader& header, const LanguageTables& languages);

// The language tables alone: the language count (low 8 bits of names.Count()), the string count
// (texts.Count()), the names, then for each id one text per language (a row shorter than the
// language count is filled with empty texts, a longer one is cut), then the end marker. The end
// marker is always the last four bytes, also of the whole header block.
String SerializeLanguageTables(const LanguageTables& languages);

// The stored form of a header block: EncodeBlock at `level`, then scrambled with `key` (which
// the prologue carries as HeaderChecksum; the engine unscrambles with whatever it finds there).
String StoreHeaderBlock(const String& headerBlock, uint32_t key, int level);

// Where each file entry's data checksum comes from.
enum class EntryChecksums {
  kComputed,  // ArchiveChecksum of the entry's data
  kAsGiven,   // FileEntry::checksum, unchanged
};

// The data block before compression: each entry in order. An entry's data is its `length` bytes
// at `data` (none when the length is below 1). The shortcut icon is written only with flag bit 0
// or 1.
String SerializeDataBlock(const Vector<FileEntry>& files, EntryChecksums checksums);

// Optional value of a prologue word: when not given, AssembleInstaller computes it.
template <class T>
struct Computed {
  bool given = false;
  T value = T();
  void Set(T v) {
    given = true;
    value = v;
  }
};

// Everything AssembleInstaller writes. PrepareArchiveParts fills it consistently; every field
// may be changed afterwards and is written as held.
struct ArchiveParts {
  // The prologue, in stored order.
  uint32_t magic = kArchiveMagic;
  uint32_t builderVersion = kEngineVersion;
  uint32_t storedHeaderSize = 0;        // normally storedHeader.Length()
  uint32_t headerChecksum = 0;          // normally the decompressed header's, the scrambling key
  Computed<uint32_t> imageChecksum;     // not given: of the finished file up to the section
  Computed<int32_t> sectionDataEnd;     // not given: data start + dataHeldInInstaller (with
                                        // dataOutsideImage: the data start)
  int32_t fileCount = 0;
  int32_t dataSize = 0;
  uint32_t dataChecksum = 0;
  Vector<int32_t> fileLengths;          // written in full, whatever fileCount says

  String headerBlock;                   // decompressed; kept for the caller, not written
  String storedHeader;                  // written right after the length table
  String storedData;                    // the whole stored data block, over all volumes

  // How storedData is placed: its first dataHeldInInstaller bytes (at most all) follow the
  // stored header in the section; the rest goes to volume files of at most volumeSize bytes
  // each, volume n + 2 starting with the identifier volumeSerial + n.
  int dataHeldInInstaller = 0;
  uint32_t volumeSize = 0;
  uint32_t volumeSerial = 0;
  // Non-zero: the section maps only the prologue and the stored header; the data block stays
  // in the file (the header's DataOutsideImage).
  uint8_t dataOutsideImage = 0;
};

// Computes every part from the plan for the given engine image (whose alignment decides where
// the data block may be split when it lies outside the image). False with `error` when the
// engine image cannot take the section (see BuildInstaller) or a part does not fit the archive's
// 32-bit fields.
//
// With DataOutsideImage the engine counts every byte from the data start to the end of the file
// as data, so no padding may follow the data block there: unsplit, the stored data block is
// padded with zeros to the section's aligned end and the padding counts in DataSize and
// DataChecksum (the engine reads past trailing bytes after the last entry, and the decompressor
// ignores trailing bits); split, the installer holds data up to the last alignment boundary
// that keeps it within volumeSize (or up to the first one when none does).
bool PrepareArchiveParts(const String& engineImage, const InstallerPlan& plan, ArchiveParts& parts,
                         String& error);

// Replaces the header: stores headerBlock (EncodeBlock at `level`) scrambled with `checksum`, and
// sets headerChecksum, storedHeaderSize and headerBlock. Pass ArchiveChecksum of the block for
// a sound header; any other value gives a header that decompresses but fails its checksum.
void SetHeaderBlock(ArchiveParts& parts, const String& headerBlock, uint32_t checksum, int level);

// Replaces the data block: the stored block is dataBlock, EncodeBlock'ed at `level` when
// `compress` is set and dataBlock is not empty; sets storedData, dataSize and dataChecksum, and
// the installer holds all of it (volumes and padding are not recomputed).
void SetDataBlock(ArchiveParts& parts, const String& dataBlock, bool compress, int level);

// Appends the section ".qorv" holding the parts to the engine image and cuts the volumes.
// False with `error` when the engine image cannot take the section.
bool AssembleInstaller(const String& engineImage, const ArchiveParts& parts, BuiltInstaller& out,
                       String& error);
