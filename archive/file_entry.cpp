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
#include "archive/header_stream.h"
#include "core/checksum.h"

int ReadFileEntry(const char* block, size_t size, size_t& offset, int32_t length,
                  FileEntry& entry) {
  if (block == nullptr || offset > size) return 70;
  HeaderStream in(block + offset, size - offset);

  if (!in.ReadText(entry.name) || entry.name.IsEmpty()) return 70;
  if (!in.ReadU32(entry.destinationKind) || !in.ReadU32(entry.flags) ||
      !in.ReadU32(entry.attributes)) {
    return 70;
  }
  if (length < 0) return 71;
  if (length > kFileLengthLimit) return 72;
  const char* data = block + offset + in.Position();
  if (!in.Skip(size_t(length))) return 72;
  entry.data = data;
  entry.length = length;

  if (!in.ReadU32(entry.checksum) || entry.checksum != ArchiveChecksum(data, length)) return 100;

  if (!in.ReadStamp(entry.stamp) || !in.ReadText(entry.versionOrShortcutName)) return 100;
  entry.shortcutIcon.Clear();
  if ((entry.flags & (kFileDesktopShortcut | kFileStartMenuShortcut)) != 0 &&
      !in.ReadText(entry.shortcutIcon)) {
    return 100;
  }
  if (!in.ReadText(entry.shortcutArguments) || !in.ReadText(entry.destinationText)) return 100;
  offset += in.Position();
  return 0;
}
