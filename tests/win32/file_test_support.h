// Helpers shared by the file object's tests: a scratch folder per test and raw Win32 access to
// files, so that what File did is checked independently of File.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/file_stamp.h"
#include "core/string.h"

namespace file_test {

// Removes a file or a folder tree, clearing read-only attributes on the way.
inline void RemoveTree(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name != "." && name != "..") RemoveTree(path + "\\" + name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

inline std::string SystemTempDir() {
  char dir[MAX_PATH + 1] = {};
  DWORD n = GetTempPathA(sizeof dir, dir);
  std::string text(dir, n);
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

// A folder of the running test's own under the system's temporary directory, removed before
// it is made and again at the end.
class ScratchDir {
 public:
  ScratchDir() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string leaf = std::string("quorvex-") + test->test_suite_name() + "-" + test->name();
    for (char& ch : leaf) {
      if (ch == '/' || ch == '\\' || ch == ':') ch = '_';
    }
    path_ = SystemTempDir() + "\\" + leaf;
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchDir() { RemoveTree(path_); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = bytes.empty() ||
            WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

// The file's bytes, read while others may hold it; "<missing>" when it cannot be opened.
inline std::string ReadBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char block[65536];
  DWORD got = 0;
  while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
  CloseHandle(file);
  return bytes;
}

inline bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// True when nobody else holds the file: it can be opened with no sharing at all.
inline bool CanOpenExclusively(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The system's own text for an error code, as FormatMessageA gives it.
inline std::string SystemErrorText(DWORD error) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                           error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                           reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = n > 0 && text != nullptr ? std::string(text, n) : std::string();
  if (text != nullptr) LocalFree(text);
  return out;
}

inline std::string Str(const String& text) { return std::string(text.CStr(), size_t(text.Length())); }

// The local stamp as the file's last-write time.
inline bool SetLastWrite(const std::string& path, const FileStamp& stamp) {
  FILETIME local;
  FILETIME universal;
  if (!stamp.ToFileTime(local) || !LocalFileTimeToFileTime(&local, &universal)) return false;
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = SetFileTime(file, nullptr, nullptr, &universal) != FALSE;
  CloseHandle(file);
  return ok;
}

// A file of the test program's folder (the fixture libraries are built there).
inline std::string BesideTests(const char* name) {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
  std::string path(self, n);
  return path.substr(0, path.find_last_of('\\') + 1) + name;
}

// Holds a file open without any sharing, as another running program may.
class Held {
 public:
  explicit Held(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~Held() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  bool Ok() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

}  // namespace file_test
