#include "tests/e2e/prefix_snapshot.h"

#include <windows.h>

#include <cstdio>

namespace {

// Files up to this size are compared byte for byte; larger ones by size and time.
constexpr DWORD kCompareBytesUpTo = 64 * 1024;

std::string ReadSmallFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<unreadable>";
  std::string bytes(kCompareBytesUpTo, '\0');
  DWORD read = 0;
  ReadFile(file, &bytes[0], kCompareBytesUpTo, &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

void WalkKey(HKEY key, const std::string& path, std::map<std::string, std::string>& out) {
  out["key " + path] = "";
  std::vector<char> name(16384);
  std::vector<BYTE> data(1 << 16);
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = DWORD(name.size());
    DWORD size = DWORD(data.size());
    DWORD type = 0;
    LONG result =
        RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size);
    if (result == ERROR_MORE_DATA) {
      data.resize(size + 1);
      --i;
      continue;
    }
    if (result != ERROR_SUCCESS) break;
    out["value " + path + "\\\\" + std::string(name.data(), nameLength)] =
        std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data.data()), size);
  }
  std::vector<std::string> children;
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = DWORD(name.size());
    if (RegEnumKeyExA(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    children.emplace_back(name.data(), nameLength);
  }
  for (const std::string& child : children) {
    HKEY sub;
    if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
    WalkKey(sub, path + "\\" + child, out);
    RegCloseKey(sub);
  }
}

void WalkFolder(const std::string& folder, std::map<std::string, std::string>& out) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> folders;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    std::string path = folder + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out["dir " + path] = "";
      // A link is listed, never entered: it may lead out of the drive or round in a circle.
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) folders.push_back(path);
      continue;
    }
    // A small file is its bytes, so that one written back as it was counts as unchanged; a
    // large one its size and time.
    std::string what = std::to_string(found.nFileSizeLow) + " bytes";
    if (found.nFileSizeHigh == 0 && found.nFileSizeLow <= kCompareBytesUpTo) {
      what += ": " + ReadSmallFile(path);
    } else {
      what += ", written " + std::to_string(found.ftLastWriteTime.dwHighDateTime) + ":" +
              std::to_string(found.ftLastWriteTime.dwLowDateTime);
    }
    out["file " + path] = what;
  } while (FindNextFileA(find, &found));
  FindClose(find);
  for (const std::string& each : folders) WalkFolder(each, out);
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.data(), int(prefix.size()),
                        prefix.data(), int(prefix.size())) == CSTR_EQUAL;
}

bool Allowed(const std::string& entry, const std::vector<VolatileEntry>& allowed) {
  for (const VolatileEntry& each : allowed) {
    if (StartsWithNoCase(entry, each.prefix)) return true;
  }
  return false;
}

// A value short enough to read in a failure message.
std::string Shown(const std::string& bytes) {
  std::string shown;
  for (char c : bytes.substr(0, 120)) {
    if (c >= 0x20 && c < 0x7F) {
      shown += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(static_cast<unsigned char>(c)));
      shown += hex;
    }
  }
  return bytes.size() > 120 ? shown + "..." : shown;
}

}  // namespace

PrefixSnapshot TakePrefixSnapshot() {
  PrefixSnapshot snapshot;
  WalkKey(HKEY_LOCAL_MACHINE, "HKLM", snapshot.entries);
  WalkKey(HKEY_CURRENT_USER, "HKCU", snapshot.entries);
  WalkFolder("C:", snapshot.entries);
  return snapshot;
}

std::vector<std::string> SnapshotDifferences(const PrefixSnapshot& before,
                                             const PrefixSnapshot& after,
                                             const std::vector<VolatileEntry>& allowed) {
  std::vector<std::string> differences;
  for (const auto& [name, what] : before.entries) {
    if (Allowed(name, allowed)) continue;
    auto later = after.entries.find(name);
    if (later == after.entries.end()) {
      differences.push_back("- " + name);
    } else if (later->second != what) {
      differences.push_back("~ " + name + ": " + Shown(what) + " -> " + Shown(later->second));
    }
  }
  for (const auto& [name, what] : after.entries) {
    if (!Allowed(name, allowed) && before.entries.count(name) == 0)
      differences.push_back("+ " + name + ": " + Shown(what));
  }
  return differences;
}
