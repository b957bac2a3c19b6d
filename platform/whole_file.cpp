// Whole-file helpers of directories.h: writing, comparing and appending, temporary names.
#include "platform/whole_file.h"

#include <windows.h>

#include <cstring>

#include "platform/file.h"
#include "platform/system_paths.h"

namespace {

constexpr int kCompareBlockSize = 4096;
constexpr int kAppendAttempts = 10;
constexpr DWORD kAppendRetryPauseMs = 100;

// Open, make the end a line break when asked, write. Returns -1 when the open fails (no retry
// helps), 0 when the write fails, 1 on success.
int AppendOnce(const String& path, const char* text, int length, uint32_t flags) {
  uint32_t mode = OpenMode::kAppend;
  if (flags & AppendFlags::kExistingOnly) mode |= OpenMode::kOpenExisting;
  File file;
  if (file.Open(path, mode) != FileOpenResult::kSuccess) return -1;
  if (flags & AppendFlags::kEnsureLineBreak) file.EnsureEndsWithLineBreak();
  if (length == 0) return 1;
  return file.Write(text, length) ? 1 : 0;
}

}  // namespace

bool WriteWholeFile(const String& path, const char* bytes, int count) {
  if (path.IsEmpty()) return false;
  if (bytes == nullptr) count = 0;
  if (count == String::kAll) count = int(std::strlen(bytes));
  if (count < 0) return false;
  File file;
  if (file.Open(path, OpenMode::kCreateOrTruncate) != FileOpenResult::kSuccess) return false;
  return file.Write(bytes, count);
}

bool FileMatchesBytes(const String& path, const char* bytes, int count) {
  if (count < 0 || (bytes == nullptr && count > 0)) return false;
  File file;
  if (file.Open(path, OpenMode::kReadShared) != FileOpenResult::kSuccess) return false;
  if (file.Size() != count) return false;
  char block[kCompareBlockSize];
  for (int done = 0; done < count;) {
    int n = count - done < kCompareBlockSize ? count - done : kCompareBlockSize;
    if (!file.Read(block, n) || std::memcmp(block, bytes + done, size_t(n)) != 0) return false;
    done += n;
  }
  return true;
}

bool AppendTextFile(const String& path, const char* text, uint32_t flags) {
  int length = text == nullptr ? 0 : int(std::strlen(text));
  for (int attempt = 1;; ++attempt) {
    int outcome = AppendOnce(path, text, length, flags);
    if (outcome != 0) return outcome > 0;
    if ((flags & AppendFlags::kNoRetry) || attempt >= kAppendAttempts) return false;
    // The file is closed again by now, so whoever is in the way may finish meanwhile.
    Sleep(kAppendRetryPauseMs);
  }
}

String TempFileName(const String& dir) {
  const String& where = dir.IsEmpty() ? TempDir() : dir;
  char name[MAX_PATH + 1] = {};
  if (GetTempFileNameA(where.CStr(), "ZPX", 0, name) == 0) return String();
  name[MAX_PATH] = '\0';
  return String(name);
}
