#include "install/file_rules.h"

#include <windows.h>

#include "archive/file_entry.h"
#include "archive/product_flags.h"
#include "config/archive_text.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "install/com_registration.h"
#include "install/data_block.h"
#include "install/file_version.h"
#include "install/install_records.h"
#include "install/install_state.h"
#include "install/installer_archive.h"
#include "install/resolve_target.h"
#include "install/shared_counts.h"
#include "install/shortcut_requests.h"
#include "install/write_installed_file.h"
#include "platform/directories.h"
#include "platform/file_attributes.h"
#include "platform/path_text.h"
#include "platform/shell_fonts.h"
#include "platform/system_error.h"
#include "ui/progress_dialog.h"

namespace {

bool HasEntryFlag(const FileEntry& entry, uint32_t flag) { return (entry.flags & flag) != 0; }

bool IsKind(const FileEntry& entry, uint32_t a, uint32_t b) {
  return entry.destinationKind == a || entry.destinationKind == b;
}

// The product's own files (kinds 0 and 5) are recorded one by one for the uninstaller, unless
// the entry stays after a removal or the uninstaller removes the whole directory anyway.
bool RecordsEntry(const FileEntry& entry) {
  return !HasFlag(ProductFlags, ProductFlag::kRemoveWholeInstallDir) &&
         !HasEntryFlag(entry, kFileNotRecorded) &&
         IsKind(entry, DestinationKind::kInstallDir, DestinationKind::kStartup);
}

// Whether the target exists, asked once per entry and only when a rule needs it.
class TargetExistence {
 public:
  explicit TargetExistence(const String& target) : target_(target) {}
  bool operator()() {
    if (!known_) exists_ = FileExists(target_);
    known_ = true;
    return exists_;
  }

 private:
  const String& target_;
  bool known_ = false;
  bool exists_ = false;
};

// Shared files and COM servers are counted and registered whether or not they are rewritten.
void ListSharedFile(const FileEntry& entry, const String& target) {
  const bool kept = HasEntryFlag(entry, kFileNotRecorded);
  switch (entry.destinationKind) {
    case DestinationKind::kShared:
      SharedFileList.Append(kept ? target + " " : target);
      break;
    case DestinationKind::kSystem:
      SharedFileList.Append(target + " ");
      break;
    case DestinationKind::kComServer:
      ComRegistrationList.Append(target);
      SharedFileList.Append(target + (kept ? " " : "^"));
      break;
    default:
      break;
  }
}

// False when the install condition passes the entry over.
bool MeetsInstallCondition(const FileEntry& entry, const String& target, TargetExistence& exists) {
  switch (entry.flags & kFileConditionMask) {
    case kFileNeverInstalled:
      return false;
    case kFileOnlyOverExisting:
      return exists();
    case kFileOnlyIfMissing:
      if (!exists()) return true;
      // A file the product brings along only when it is missing is still the product's to
      // remove; ProductFlags bit 10 does not change that.
      if (!HasEntryFlag(entry, kFileNotRecorded) &&
          IsKind(entry, DestinationKind::kInstallDir, DestinationKind::kStartup))
        RecordInstalledPath(target, RecordKind::kFile);
      return false;
    default:
      return true;
  }
}

void LogTarget(const String& target, const char* text) {
  InstallLog += target;
  InstallLog += text;
}

constexpr char kOutOfDate[] = " is out of date and will be replaced.\r\n";

// System files (kinds 6 and 7) are replaced only by a newer version and a newer date.
bool IsNewerSystemFile(const FileEntry& entry, const String& target) {
  if (!entry.versionOrShortcutName.IsBlank()) {
    String installed = FileVersionText(target);
    if (!installed.IsBlank() &&
        CompareVersionText(entry.versionOrShortcutName.CStr(), installed.CStr()) <= 0) {
      LogTarget(target, " was not installed because its version is not newer.\r\n");
      return false;
    }
  }
  FileStamp installed;
  if (!InstalledStamp(target, installed)) return false;
  if (FileStamp::Compare(installed, entry.stamp) >= 0) {
    LogTarget(target, " was not installed because its date is not newer.\r\n");
    return false;
  }
  LogTarget(target, kOutOfDate);
  return true;
}

// False when a file already there is at least as new. existedBefore tells WriteInstalledFile
// whether an unwritable target may be replaced at the next start.
bool ReplacesInstalledFile(const FileEntry& entry, const String& target, TargetExistence& exists,
                           bool& existedBefore) {
  existedBefore = false;
  const bool dated = IsKind(entry, DestinationKind::kShared, DestinationKind::kFont);
  const bool system = IsKind(entry, DestinationKind::kSystem, DestinationKind::kComServer);
  if (!dated && !system) return true;
  existedBefore = exists();
  if (!existedBefore) return true;
  if (system) return IsNewerSystemFile(entry, target);
  if (!IsNewerThanInstalled(target, entry.stamp)) {
    LogTarget(target, " is up to date.\r\n");
    return false;
  }
  LogTarget(target, kOutOfDate);
  return true;
}

void RequestShortcut(const FileEntry& entry, const String& target) {
  const bool startup = entry.destinationKind == DestinationKind::kStartup;
  const bool desktop = HasEntryFlag(entry, kFileDesktopShortcut);
  const bool startMenu = HasEntryFlag(entry, kFileStartMenuShortcut);
  if (!startup &&
      !(entry.destinationKind == DestinationKind::kInstallDir && (desktop || startMenu)))
    return;
  ShortcutRequest& request = ShortcutRequests.AppendDefault();
  request.desktop = desktop;
  request.startMenu = startMenu;
  request.startup = startup;
  request.keep = HasEntryFlag(entry, kFileNotRecorded);
  request.target = target;
  request.arguments = entry.shortcutArguments;
  request.name = entry.versionOrShortcutName.IsEmpty()
                     ? FormatArchiveText(StringId::kDefaultShortcutName, {FileNamePart(target)})
                     : entry.versionOrShortcutName;
  if (!entry.shortcutIcon.IsBlank()) request.icon = JoinPath(UninstallDir, entry.shortcutIcon);
}

// What the loop remembers from one entry to the next, to spare the system calls that would
// only repeat the answer of the entry before.
struct LoopState {
  String madeFolder;        // the last folder known to exist: entries come folder by folder
  DWORD statusShownAt = 0;  // GetTickCount when the status line was last painted
  bool statusShown = false;
};

// False, with the failure in ErrorSummary, when the target's folder is needed and cannot be
// made. The install directory itself exists by now and is never recorded here.
bool PrepareFolder(const FileEntry& entry, const String& target, bool createFolder,
                   LoopState& loop) {
  if (!createFolder) return true;
  String folder = DirectoryPart(target);
  if (folder.Compare(InstallDir.CStr(), false) == 0) return true;
  if (!folder.Equals(loop.madeFolder) && !CreateDirectoryPath(folder)) {
    ErrorSummary.AppendFormat("%s %s\r\n%s\r\nNot installed: %s\r\n\r\n",
                              LookupString(StringId::kCannotCreateDirHead).CStr(), folder.CStr(),
                              SystemErrorText(GetLastError()).CStr(), target.CStr());
    return false;
  }
  loop.madeFolder = folder;
  if (RecordsEntry(entry)) RecordInstalledPath(folder, RecordKind::kFolder);
  return true;
}

// The status line is painted at most every kStatusInterval ms: a repaint per file would cost
// more than writing most files, and faster changes could not be read anyway.
constexpr DWORD kStatusInterval = 50;

void ShowStatus(const String& status, LoopState& loop) {
  const DWORD now = GetTickCount();
  if (loop.statusShown && now - loop.statusShownAt < kStatusInterval) return;
  SetProgressStatus(status);
  loop.statusShownAt = now;
  loop.statusShown = true;
}

// The font is loaded from where it was written: a bare file name would only be found in the
// Fonts folder, and a DestinationText may put it elsewhere.
void InstallFont(const FileEntry& entry, const String& target) {
  String fileName = FileNamePart(target);
  RegisterFontName(entry.versionOrShortcutName.CStr(), fileName.CStr());
  AddFontResourceA(target.CStr());
  if (HasEntryFlag(entry, kFileNotRecorded)) return;
  ProductFonts += '"';
  ProductFonts += entry.versionOrShortcutName;
  ProductFonts += "\" \"";
  ProductFonts += fileName;
  ProductFonts += "\" ";
}

// One entry, in the order of its rules; true when it installed a font.
bool InstallEntry(FileEntry& entry, LoopState& loop) {
  bool createFolder = false;
  const String target = ResolveTarget(entry, createFolder);
  ListSharedFile(entry, target);
  TargetExistence exists(target);
  if (!MeetsInstallCondition(entry, target, exists)) return false;
  bool existedBefore = false;
  if (!ReplacesInstalledFile(entry, target, exists, existedBefore)) return false;
  RequestShortcut(entry, target);
  if (!PrepareFolder(entry, target, createFolder, loop)) return false;
  if (RecordsEntry(entry)) RecordInstalledPath(target, RecordKind::kFile);
  if (!WriteInstalledFile(target, entry.data, entry.length, entry.stamp, ErrorSummary,
                          entry.attributes, existedBefore))
    return false;
  const bool font = entry.destinationKind == DestinationKind::kFont;
  if (font) InstallFont(entry, target);
  String status = String::Formatted("%s -> %s", entry.name.CStr(), target.CStr());
  ShowStatus(status, loop);
  if (HasFlag(ProductFlags, ProductFlag::kLogEveryFile)) InstallLog += status + "\r\n";
  return font;
}

}  // namespace

bool InstallFiles() {
  RecordInstalledPathReset();
  LoopState loop;
  bool fontInstalled = false;
  for (int i = 0; i < OwnArchivePrologue.fileCount; ++i) {
    FileEntry entry;
    ReadNextFileEntry(i, entry);
    if (InstallEntry(entry, loop)) fontInstalled = true;
  }
  return fontInstalled;
}
