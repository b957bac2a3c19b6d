#include "install/write_installed_file.h"

#include <windows.h>

#include "archive/corrupt_codes.h"
#include "archive/product_flags.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "install/install_records.h"
#include "install/install_state.h"
#include "platform/deferred_replace.h"
#include "platform/file.h"
#include "platform/file_attributes.h"
#include "platform/path_text.h"
#include "platform/short_path.h"
#include "platform/system_error.h"
#include "platform/whole_file.h"
#include "ui/messages.h"

namespace {

constexpr int kWriteAttempts = 3;
// The attributes an archive entry may set or clear: the blocking three, archive, temporary and
// offline.
constexpr uint32_t kInstalledAttributeMask =
    kBlockingAttributes | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;
static_assert(kInstalledAttributeMask == 0x1127, "the archive's attribute mask");
constexpr uint32_t kLeaveAttributes = 0xFFFFFFFF;

enum class Outcome { kWritten, kOpenFailed, kWriteFailed };

// One attempt. The stamp goes on the same handle, so a written file costs a single open.
Outcome WriteOnce(const String& target, const char* data, int32_t length, const FileStamp& stamp) {
  File file;
  if (file.Open(target, OpenMode::kCreateOrTruncate | OpenMode::kNoRead) !=
      FileOpenResult::kSuccess)
    return Outcome::kOpenFailed;
  SetLastError(ERROR_SUCCESS);
  if (!file.Write(data, length)) {
    // A write cut short without an error of its own is a full volume.
    if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_DISK_FULL);
    return Outcome::kWriteFailed;
  }
  if (stamp.month != 0) file.SetModifiedTime(stamp);
  return Outcome::kWritten;
}

// The temporary file goes into the target's own folder: a replacement at the next start is a
// rename, and the NT family cannot rename across volumes at boot. Returns the registered
// temporary file's (short) name; empty when it could not be written, with tempWritten false,
// or when it could not be registered, with tempWritten true and the system's error pending.
String ScheduleReplacement(const String& target, const char* data, int32_t length,
                           bool& tempWritten) {
  tempWritten = false;
  String temp = TempFileName(DirectoryPart(target));
  if (temp.IsEmpty()) return String();
  temp = ShortPath(temp);
  if (!WriteWholeFile(temp, data, length)) {
    // Not to be left behind empty or half written.
    DeleteFileOrSchedule(temp.CStr(), 0);
    return String();
  }
  tempWritten = true;
  if (MoveOrScheduleFile(temp.CStr(), target.CStr(), MoveFlags::kScheduleOnly)) return temp;
  const DWORD error = GetLastError();
  DeleteFileOrSchedule(temp.CStr(), 0);
  SetLastError(error);
  return String();
}

// The target could not be written three times: it is replaced at the next start when it
// existed before (or the archive asks for it with any file); otherwise, or when that fails, the
// failure joins errors. error is the system's error of the last attempt.
void HandleUnwritableTarget(const String& target, const char* data, int32_t length, String& errors,
                            bool existedBefore, DWORD error) {
  String message = LookupString(StringId::kCannotWriteFileHead) + " " + target + "\r\n";
  String errorText = SystemErrorText(error);
  if (!errorText.IsEmpty()) message += errorText + "\r\n";
  if (!existedBefore && !HasFlag(ProductFlags, ProductFlag::kReplaceAnyLockedFileAtReboot)) {
    errors += message;
    return;
  }
  bool tempWritten = false;
  String temp = ScheduleReplacement(target, data, length, tempWritten);
  if (!temp.IsEmpty()) {
    ProductFlags |= FlagMask(ProductFlag::kRebootRequired);
    message.AppendFormat(
        "%s has been successfully registered for replacement.\r\nTemporary file is %s\r\n"
        "Reboot will be required.\r\n\r\n",
        target.CStr(), temp.CStr());
    InstallLog += message;
    return;
  }
  if (tempWritten) {
    message.AppendFormat("Failed to register '%s' for replacement: %s\r\n", target.CStr(),
                         SystemErrorText(GetLastError()).CStr());
  }
  errors += message;
}

}  // namespace

bool WriteInstalledFile(const String& target, const char* data, int32_t length,
                        const FileStamp& stamp, String& errors, uint32_t attributes,
                        bool existedBefore) {
  if (length < 0) CorruptInstaller(kNegativeFileDataLength);
  const bool verify = HasFlag(ProductFlags, ProductFlag::kVerifyWrittenFiles);
  for (int attempt = 1;; ++attempt) {
    Outcome outcome = WriteOnce(target, data, length, stamp);
    if (outcome == Outcome::kWritten) {
      if (!verify || FileMatchesBytes(target, data, length)) break;
      if (attempt < kWriteAttempts) continue;
      // A mismatch has no system error of its own; an older one would only mislead.
      SetLastError(0);
      AppendFailure(errors, target);
      return false;
    }
    const DWORD error = GetLastError();
    if (attempt == 1 && HasFlag(ProductFlags, ProductFlag::kClearBlockingAttributes))
      ClearAttributes(target, kBlockingAttributes);
    if (attempt < kWriteAttempts) continue;
    if (outcome == Outcome::kWriteFailed) {
      // The open truncated the target: a part of the data must not pass for the file.
      DeleteFileOrSchedule(target.CStr(), DeleteFlags::kKeepReadOnly);
    }
    HandleUnwritableTarget(target, data, length, errors, existedBefore, error);
    return false;
  }
  if (attributes != kLeaveAttributes) ChangeAttributes(target, attributes, kInstalledAttributeMask);
  return true;
}
