// One installed file's record in the data block: its name and destination, its data in place,
// and the texts of its shortcut. Reading is pure: the data stays where the block holds it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "archive/corrupt_codes.h"
#include "core/file_stamp.h"
#include "core/string.h"

struct FileEntry {
  String name;
  uint32_t destinationKind = 0;
  uint32_t flags = 0;                   // FileEntryFlags
  uint32_t attributes = 0xFFFFFFFF;     // FileAttributesField; all ones: leave alone
  const char* data = nullptr;           // into the data block (reading) or the caller's bytes
  int32_t length = 0;
  uint32_t checksum = 0;                // as stored after the data
  FileStamp stamp = {};
  String versionOrShortcutName;
  String shortcutIcon;                  // stored only with flag bit 0 or 1
  String shortcutArguments;
  String destinationText;
};

// DestinationKind: the base folder of an entry without a DestinationText, and how the file
// rules treat it (2, 3 and the rest have no base folder).
namespace DestinationKind {
inline constexpr uint32_t kInstallDir = 0;
inline constexpr uint32_t kShared = 1;  // under SharedPath, with a reference count
inline constexpr uint32_t kFont = 4;
inline constexpr uint32_t kStartup = 5;    // in InstallDir, with a shortcut in the Startup folder
inline constexpr uint32_t kSystem = 6;     // in the system folder, compared by version and date
inline constexpr uint32_t kComServer = 7;  // as kSystem, and self-registered
}  // namespace DestinationKind

// FileEntryFlags.
inline constexpr uint32_t kFileDesktopShortcut = 0x1;
inline constexpr uint32_t kFileStartMenuShortcut = 0x2;
inline constexpr uint32_t kFileConditionMask = 0xC;  // the install condition, one of:
inline constexpr uint32_t kFileAlwaysInstalled = 0x0;
inline constexpr uint32_t kFileNeverInstalled = 0x4;
inline constexpr uint32_t kFileOnlyOverExisting = 0x8;  // only when the target exists
inline constexpr uint32_t kFileOnlyIfMissing = 0xC;     // only when it does not
inline constexpr uint32_t kFileNotRecorded = 0x20;
inline constexpr uint32_t kFileToUninstallDir = 0x40;

// Reads the entry at `offset` of the `size`-byte data block, whose data is `length` bytes long
// (from the length table), and advances offset past it. Returns 0 or the corrupt-installer
// code: 70 (empty name), 71 (negative length), 72 (length above 0x40000000), 100 (data checksum
// differs). An entry that runs past the end of the block is refused with the code of the field
// it breaks off in (70 in the name and the three words, or for an offset at or past the end,
// 72 in the data, 100 in the checksum and everything after it); a name or text without its NUL
// runs past the end. The icon text is read only with flag bit 0 or 1. On failure `offset` is
// unchanged.
CorruptCode ReadFileEntry(const char* block, size_t size, size_t& offset, int32_t length,
                          FileEntry& entry);
