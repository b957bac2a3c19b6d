#include "ui/choose_install_dir.h"

#include <windows.h>

#include "config/archive_text.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "core/number_words.h"
#include "core/string.h"
#include "platform/directories.h"
#include "platform/drives.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/system_error.h"
#include "ui/choose_dir_dialog.h"
#include "ui/messages.h"
#include "ui/ui_seam.h"
#include "ui/wait_cursor.h"

namespace {

constexpr unsigned kLowSpaceStyle = MB_ICONSTOP | MB_YESNO;       // 0x14
constexpr unsigned kConfirmStyle = MB_ICONQUESTION | MB_YESNO;    // 0x24

// A drive root such as "C:\" and anything shorter.
constexpr int kLongestRoot = 3;

// The last step of a directory that passed the text checks: the space question, the
// confirmation and the creation. False sends the user back to the dialog.
bool AcceptDirectory(const String& dir, const Vector<int>& fileSizes) {
  char drive = DriveLetterOf(dir);
  if (drive != 0) {
    uint64_t needed = SpaceNeeded(fileSizes, ClusterSize(drive));
    uint64_t free = FreeSpace(drive);
    if (needed >= free) {
      String question = FormatArchiveText(
          StringId::kLowDiskSpace, {SizeText(int64_t(needed)), drive, SizeText(int64_t(free))});
      if (ShowMessageBox(MessageOwner(), question.CStr(),
                         LookupString(StringId::kSetupTitle).CStr(), kLowSpaceStyle) != IDYES)
        return false;
    }
  }

  ShowWaitCursor();
  bool exists = DirectoryExists(dir);
  HideCursor();

  if (HasFlag(ProductFlags, ProductFlag::kConfirmDirectory)) {
    String question =
        FormatArchiveText(exists ? StringId::kConfirmExistingDir : StringId::kConfirmNewDir, {dir});
    if (ShowMessageBox(MessageOwner(), question.CStr(),
                       LookupString(StringId::kDirectoryTitle).CStr(), kConfirmStyle) != IDYES)
      return false;
  }

  if (!exists && !CreateDirectoryPath(dir)) {
    String reason = SystemErrorText(GetLastError());
    reason.TrimRight();
    ReportError("%s\r\n%s\r\n\r\n%s", LookupString(StringId::kCannotCreateDirHead).CStr(),
                dir.CStr(), reason.CStr());
    return false;
  }
  return true;
}

// The checks on the text alone, in order; each failure is reported. True when none failed.
bool IsAcceptableDirectoryText(const String& dir) {
  if (!IsValidPathText(dir, 0) || !IsAbsolutePath(dir)) {
    ReportError("%s\r\n%s", LookupString(StringId::kInvalidDirHead).CStr(), dir.CStr());
    return false;
  }
  if (HasFlag(ProductFlags, ProductFlag::kRefuseNetworkPaths) && dir.StartsWith("\\\\")) {
    ReportError("%s", FormatArchiveText(StringId::kNetworkPathRefused).CStr());
    return false;
  }
  char drive = DriveLetterOf(dir);
  if (drive != 0 && !DriveExists(drive)) {
    ReportError("%s", FormatArchiveText(StringId::kDriveUnavailable, {drive}).CStr());
    return false;
  }
  if (dir.Length() <= kLongestRoot) {
    ReportError("%s", FormatArchiveText(StringId::kDriveRootRefused).CStr());
    return false;
  }
  String programFiles = ProgramFilesDir();
  if (SamePath(dir, programFiles)) {
    ReportError("%s", FormatArchiveText(StringId::kProgramFilesRefused, {programFiles}).CStr());
    return false;
  }
  return true;
}

}  // namespace

uint64_t SpaceNeeded(const Vector<int>& fileSizes, int clusterSize) {
  uint64_t needed = 0;
  for (int i = 0; i < fileSizes.Count(); ++i) {
    needed += uint64_t(uint32_t(RoundUpToMultiple(fileSizes[i], clusterSize)));
  }
  return needed;
}

void ChooseInstallDir(const Vector<int>& fileSizes) {
  if (AutomaticMode || !HasFlag(ProductFlags, ProductFlag::kChooseDirectory)) {
    CreateDirectoryPath(InstallDir);
    return;
  }
  for (;;) {
    if (!ShowChooseDirDialog()) ExitInstaller();
    InstallDir.Trim();
    if (InstallDir.IsEmpty()) continue;
    if (IsAcceptableDirectoryText(InstallDir) && AcceptDirectory(InstallDir, fileSizes)) return;
  }
}
