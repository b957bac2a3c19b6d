// Deleting and moving files now, or, when they are in use, at the next start of the system:
// on the NT family through MoveFileExA's delay-until-reboot, on the 9x family (and on NT when
// that fails but the system has "wininit.exe") through the "[rename]" section of "wininit.ini"
// in the Windows directory. Nothing here reports anything; the caller reads GetLastError.
#pragma once

#include <cstdint>

// Flags of DeleteFileOrSchedule.
namespace DeleteFlags {
inline constexpr uint32_t kKeepReadOnly = 0x01;       // else the read-only attribute is cleared
inline constexpr uint32_t kScheduleOnly = 0x02;       // do not delete now: at the next start
inline constexpr uint32_t kScheduleOnFailure = 0x10;  // schedule when deleting now fails
}  // namespace DeleteFlags

// Flags of MoveOrScheduleFile. With neither of the first two, an existing destination is
// deleted first whatever the outcome.
namespace MoveFlags {
inline constexpr uint32_t kDestinationMustExist = 0x01;  // else false; it is deleted first
inline constexpr uint32_t kFailIfDestinationExists = 0x02;
inline constexpr uint32_t kCreateDirectory = 0x04;  // the destination's folder, with its parents
inline constexpr uint32_t kScheduleOnly = 0x08;     // do not move now: at the next start
}  // namespace MoveFlags

// Adds "destination=source" as the first line of the "[rename]" section of wininit.ini,
// creating the file and the section (at its end) as needed. The destination "NUL" deletes the
// source. False for a null or empty text or when the file cannot be read or written.
bool AddWininitRename(const char* destination, const char* source);

// Deletes path now, or schedules its deletion for the next start as the flags say. True when
// the file was deleted or its deletion scheduled; false for a null path.
bool DeleteFileOrSchedule(const char* path, uint32_t flags);

// Moves source to destination now, or schedules the move for the next start. False for a null
// path, for two byte-identical paths or a missing source, and as the flags say about the
// destination. Paths that differ only in letter case rename the file in place.
bool MoveOrScheduleFile(const char* source, const char* destination, uint32_t flags);

#ifdef QUORVEX_TEST_SEAM
class String;
// Test builds only. wininit.ini is read and written, and "wininit.exe" looked for, in dir
// instead of the Windows directory (empty restores it).
void SetWininitDirForTesting(const String& dir);
// Looks MoveFileExA up again on next use, from library instead of kernel32.dll (null restores
// it); a library that does not exist makes it missing for real.
void SetMoveFileExLibraryForTesting(const char* library);
#endif
