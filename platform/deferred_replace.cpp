#include "platform/deferred_replace.h"

#include <windows.h>

#include <cstring>

#include "core/string.h"
#include "platform/directories.h"
#include "platform/file.h"
#include "platform/file_attributes.h"
#include "platform/os_identity.h"
#include "platform/path_text.h"
#include "platform/shell.h"
#include "platform/short_path.h"
#include "platform/system_paths.h"

namespace {

constexpr char kRenameSection[] = "[rename]";
constexpr int kRenameSectionLength = sizeof kRenameSection - 1;

using MoveFileExFunction = BOOL(WINAPI*)(const char* from, const char* to, DWORD flags);

constexpr const char* kKernelLibrary = "kernel32.dll";
const char* moveFileExLibrary = kKernelLibrary;
bool moveFileExTried = false;
MoveFileExFunction moveFileEx = nullptr;

#ifdef QUORVEX_TEST_SEAM
String wininitDirForTesting;
#endif

// MoveFileExA, looked up once; null where kernel32 lacks it (the 9x family).
MoveFileExFunction DelayedMoveFunction() {
  if (!moveFileExTried) {
    moveFileExTried = true;
    LoadFunctionAs(moveFileExLibrary, "MoveFileExA", &moveFileEx);
  }
  return moveFileEx;
}

// The folder of wininit.ini and wininit.exe: the Windows directory.
const String& WininitDir() {
#ifdef QUORVEX_TEST_SEAM
  if (!wininitDirForTesting.IsEmpty()) return wininitDirForTesting;
#endif
  return WindowsDir();
}

bool IsBlank(const char* text) { return text == nullptr || *text == '\0'; }

// Where the system itself cannot replace files at the next start, wininit.ini still can, but
// only when wininit.exe is there to carry it out.
bool WininitCanRun() { return FileExists(JoinPath(WininitDir(), "wininit.exe")); }

// The NT family's delayed replacement; to is null for a deletion. False when MoveFileExA is
// missing or refuses.
bool MoveAtNextStart(const char* from, const char* to, DWORD flags) {
  MoveFileExFunction move = DelayedMoveFunction();
  return move != nullptr && move(from, to, flags);
}

}  // namespace

bool AddWininitRename(const char* destination, const char* source) {
  if (IsBlank(destination) || IsBlank(source)) return false;
  File file;
  if (file.Open(JoinPath(WininitDir(), "wininit.ini"), OpenMode::kOpenOrCreate) !=
      FileOpenResult::kSuccess)
    return false;
  String text;
  if (!file.ReadAll(text)) return false;
  int section = text.Find(kRenameSection, 0, String::kIgnoreCase);
  if (section >= 0) {
    // The newest line goes first, so that it is carried out before older ones.
    text.Insert(section + kRenameSectionLength,
                String::Formatted("\r\n%s=%s", destination, source));
  } else {
    text.EnsureTrailingLineBreak();
    text.AppendFormat("%s\r\n%s=%s", kRenameSection, destination, source);
  }
  return file.ReplaceContents(text);
}

bool DeleteFileOrSchedule(const char* path, uint32_t flags) {
  if (path == nullptr) return false;
  if (!(flags & DeleteFlags::kKeepReadOnly)) SetReadOnly(String(path), false);
  if (!(flags & DeleteFlags::kScheduleOnly)) {
    if (DeleteFileA(path)) return true;
    if (!(flags & DeleteFlags::kScheduleOnFailure)) return false;
  }
  if (IsNT()) {
    if (MoveAtNextStart(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return true;
    if (!WininitCanRun()) return false;
  }
  return AddWininitRename("NUL", ShortPath(String(path)).CStr());
}

bool MoveOrScheduleFile(const char* source, const char* destination, uint32_t flags) {
  if (source == nullptr || destination == nullptr) return false;
  if (std::strcmp(source, destination) == 0 || !FileExists(String(source))) return false;

  // Paths that differ only in letter case name the same file: the move renames it in place,
  // so nothing may be deleted.
  if (String(source).Compare(destination, false) != 0) {
    bool exists = FileExists(String(destination));
    if ((flags & MoveFlags::kDestinationMustExist) && !exists) return false;
    if ((flags & MoveFlags::kFailIfDestinationExists) && exists) return false;
    // A destination that cannot go now (a file in use) is replaced by the move or the
    // scheduled move below, so the outcome does not matter here.
    if (exists) DeleteFileOrSchedule(destination, 0);
  }
  if ((flags & MoveFlags::kCreateDirectory) &&
      !CreateDirectoryPath(DirectoryPart(String(destination))))
    return false;
  if (!(flags & MoveFlags::kScheduleOnly)) return MoveFileA(source, destination) != FALSE;

  if (IsNT()) {
    // MOVEFILE_COPY_ALLOWED is absent: Windows refuses it together with DELAY_UNTIL_REBOOT.
    if (MoveAtNextStart(source, destination,
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT))
      return true;
    if (!WininitCanRun()) return false;
  }
  // A destination that does not exist yet has no short form and keeps its long one.
  return AddWininitRename(ShortPath(String(destination)).CStr(), ShortPath(String(source)).CStr());
}

#ifdef QUORVEX_TEST_SEAM
void SetWininitDirForTesting(const String& dir) { wininitDirForTesting = dir; }

void SetMoveFileExLibraryForTesting(const char* library) {
  moveFileExLibrary = library != nullptr ? library : kKernelLibrary;
  moveFileExTried = false;
  moveFileEx = nullptr;
}
#endif
