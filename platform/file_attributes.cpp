// FileExists and the attribute helpers of directories.h.
#include "platform/file_attributes.h"

#include <windows.h>

#include "platform/file.h"

bool FileExists(const String& path) {
  File probe;
  int result = probe.Open(path, OpenMode::kProbe);
  // A file that another program holds exists all the same.
  return result == FileOpenResult::kSuccess || result == FileOpenResult::kLocked;
}

uint32_t GetAttributes(const String& path) {
  DWORD attributes = GetFileAttributesA(path.CStr());
  return attributes == INVALID_FILE_ATTRIBUTES ? kInvalidAttributes : uint32_t(attributes);
}

bool IsReadOnly(const String& path) {
  uint32_t attributes = GetAttributes(path);
  return attributes != kInvalidAttributes && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool ClearAttributes(const String& path, uint32_t bits) {
  uint32_t old = GetAttributes(path);
  if (old == kInvalidAttributes) return false;
  if ((old & bits) == 0) return true;
  return SetFileAttributesA(path.CStr(), old & ~bits) != 0;
}

bool ChangeAttributes(const String& path, uint32_t values, uint32_t mask) {
  uint32_t old = GetAttributes(path);
  if (old == kInvalidAttributes) return false;
  uint32_t wanted = (old & ~mask) | (values & mask);
  if (wanted == old) return true;
  return SetFileAttributesA(path.CStr(), wanted) != 0;
}

bool SetReadOnly(const String& path, bool on) {
  return ChangeAttributes(path, on ? FILE_ATTRIBUTE_READONLY : 0, FILE_ATTRIBUTE_READONLY);
}
