// The system's list of renames and deletions for the next start (the NT family's
// PendingFileRenameOperations), read back by tests that schedule them and put back afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace pending_renames {

inline constexpr char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
inline constexpr char kPendingRenames[] = "PendingFileRenameOperations";

// The raw pending-rename value; existed is false when there is none.
struct RawValue {
  bool existed = false;
  std::string bytes;
};

inline RawValue ReadPendingRenames() {
  RawValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return value;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, kPendingRenames, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    value.bytes.resize(size);
    if (size == 0 ||
        RegQueryValueExA(key, kPendingRenames, nullptr, &type,
                         reinterpret_cast<BYTE*>(&value.bytes[0]), &size) == ERROR_SUCCESS) {
      value.existed = true;
      value.bytes.resize(size);
    }
  }
  RegCloseKey(key);
  return value;
}

inline void WritePendingRenames(const RawValue& value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  if (value.existed) {
    RegSetValueExA(key, kPendingRenames, 0, REG_MULTI_SZ,
                   reinterpret_cast<const BYTE*>(value.bytes.data()), DWORD(value.bytes.size()));
  } else {
    RegDeleteValueA(key, kPendingRenames);
  }
  RegCloseKey(key);
}

// The strings of the value: pairs of source and destination, the destination empty for a
// deletion and marked "!" where an existing file is replaced. The list's final terminator is
// not an entry.
inline std::vector<std::string> PendingRenames() {
  std::string bytes = ReadPendingRenames().bytes;
  std::vector<std::string> entries;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    entries.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  if (!entries.empty() && entries.back().empty()) entries.pop_back();
  return entries;
}

}  // namespace pending_renames
