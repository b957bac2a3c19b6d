#include "install/deletions.h"

#include <windows.h>

#include <cstdint>

#include "archive/corrupt_codes.h"
#include "archive/product_flags.h"
#include "config/file_specification.h"
#include "config/install_variables.h"
#include "config/settings.h"
#include "core/date_time.h"
#include "install/install_state.h"
#include "platform/deferred_replace.h"
#include "platform/file_attributes.h"
#include "platform/file_finder.h"
#include "platform/system_error.h"
#include "ui/messages.h"

namespace {

// FileDeletion::flags: a file that cannot be deleted now may be deleted at the next start.
constexpr uint32_t kDeleteAtNextStart = 0x2;

// The conditions, a signed byte; every other value deletes unconditionally.
enum Condition : int8_t {
  kDateEqual = 1,
  kDateSameOrLater = 2,
  kDateSameOrEarlier = 3,
  kSizeEqual = 4,
  kSizeAtLeast = 5,
  kSizeAtMost = 6,
};

bool IsDateCondition(int8_t c) { return c >= kDateEqual && c <= kDateSameOrEarlier; }
bool IsSizeCondition(int8_t c) { return c >= kSizeEqual && c <= kSizeAtMost; }

// The value of a date condition. A value that reads but names no real day counts as not read:
// comparing file dates with it would delete by accident.
DateTime DeletionDate(const String& value) {
  DateTime date;
  if (!date.Parse(value, false) || date.date.IsInvalid()) CorruptInstaller(kBadDeletionDate);
  return date;
}

bool MeetsCondition(int8_t condition, const DateTime& date, int64_t size, const FindRecord& file) {
  if (IsDateCondition(condition)) {
    DateTime written = file.lastWrite.ToDateTime();
    int order = date.time.IsValid() ? DateTime::Compare(written, date)
                                    : DateTime::CompareDateOnly(written, date);
    if (condition == kDateEqual) return order == 0;
    return condition == kDateSameOrLater ? order >= 0 : order <= 0;
  }
  if (IsSizeCondition(condition)) {
    int64_t fileSize = int64_t(file.size);
    if (condition == kSizeEqual) return fileSize == size;
    return condition == kSizeAtLeast ? fileSize >= size : fileSize <= size;
  }
  return true;
}

void Delete(const String& path, uint32_t flags) {
  ClearAttributes(path, kBlockingAttributes);
  if (DeleteFileOrSchedule(path.CStr(), 0)) {
    InstallLog.AppendFormat("Deleted file: %s\r\n", path.CStr());
    return;
  }
  String error = SystemErrorText(GetLastError());
  if (!(flags & kDeleteAtNextStart)) {
    InstallLog.AppendFormat("Failed to delete file '%s': %s\r\n", path.CStr(), error.CStr());
    return;
  }
  InstallLog.AppendFormat("File '%s' will be deleted after rebooting: %s\r\n", path.CStr(),
                          error.CStr());
  if (DeleteFileOrSchedule(path.CStr(), DeleteFlags::kScheduleOnly)) {
    ProductFlags |= FlagMask(ProductFlag::kRebootRequired);
    return;
  }
  ErrorSummary.AppendFormat("Failed to register '%s' for deletion: %s\r\n", path.CStr(),
                            SystemErrorText(GetLastError()).CStr());
}

void CarryOut(const FileDeletion& deletion) {
  const int8_t condition = int8_t(deletion.condition);
  DateTime date;
  if (IsDateCondition(condition)) date = DeletionDate(deletion.value);
  const int64_t size = IsSizeCondition(condition) ? deletion.value.ToInt64() : 0;

  String specification = deletion.specification;
  ExpandInstallVariables(specification);
  Array<String> files;
  ParseFileSpecification(specification, files, InstallDir.CStr(), nullptr, nullptr, nullptr, 0);
  for (int i = 0; i < files.Count(); ++i) {
    FindRecord record;
    if (!FindOne(files[i], record)) continue;
    if (MeetsCondition(condition, date, size, record)) Delete(files[i], deletion.flags);
  }
}

}  // namespace

void CarryOutDeletions(const Vector<FileDeletion>& deletions) {
  for (int i = 0; i < deletions.Count(); ++i) CarryOut(deletions[i]);
}
