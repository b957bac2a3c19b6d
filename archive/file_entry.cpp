// Reading one file entry of the data block. The checks come in the order the fields are read:
// the name, the length from the length table, the data's checksum; the texts after it are only
// read.
//
// Bounds cases: an entry that breaks off at the end of the block is refused with the code of
// the nearest check:
//   the name, DestinationKind, FileEntryFlags, FileAttributesField        70
//   the data (length bytes do not remain)                                 72
//   the checksum, the stamp, the texts after it                           100
// An offset already beyond the block is an entry whose name cannot be read (70). A name cut
// off by the end of the block (no NUL) is a name that breaks off. On failure `offset` stays
// where it was.
#include "archive/file_entry.h"

#include "archive/archive_layout.h"
#include "archive/corrupt_codes.h"
#include "archive/header_stream.h"
#include "core/checksum.h"

CorruptCode ReadFileEntry(const char* block, size_t size, size_t& offset, int32_t length,
                          FileEntry& entry) {
  if (block == nullptr || offset > size) return kEmptyFileName;
  HeaderStream in(block + offset, size - offset);

  if (!in.ReadText(entry.name) || entry.name.IsEmpty()) return kEmptyFileName;
  if (!in.ReadU32(entry.destinationKind) || !in.ReadU32(entry.flags) ||
      !in.ReadU32(entry.attributes)) {
    return kEmptyFileName;
  }
  if (length < 0) return kNegativeFileLength;
  if (length > kFileLengthLimit) return kFileTooLong;
  const char* data = block + offset + in.Position();
  if (!in.Skip(size_t(length))) return kFileTooLong;
  entry.data = data;
  entry.length = length;

  if (!in.ReadU32(entry.checksum) || entry.checksum != ArchiveChecksum(data, length))
    return kFileChecksumMismatch;

  if (!in.ReadStamp(entry.stamp) || !in.ReadText(entry.versionOrShortcutName))
    return kFileChecksumMismatch;
  entry.shortcutIcon.Clear();
  if ((entry.flags & (kFileDesktopShortcut | kFileStartMenuShortcut)) != 0 &&
      !in.ReadText(entry.shortcutIcon)) {
    return kFileChecksumMismatch;
  }
  if (!in.ReadText(entry.shortcutArguments) || !in.ReadText(entry.destinationText))
    return kFileChecksumMismatch;
  offset += in.Position();
  return kNoCorruption;
}
