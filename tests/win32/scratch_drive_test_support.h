// A drive letter of the test's own, mapped by Wine to a fresh folder: what a test deletes or
// refuses to delete there can never be the prefix's drive C, whatever spelling goes wrong.
// Wine maps letters through symbolic links in the prefix's dosdevices folder and reports a
// Unix symbolic link inside a drive as a reparse point, so the links are made with the Unix
// ln program, which Wine starts directly from a Windows process.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "tests/win32/file_test_support.h"

namespace scratch_drive {

// Wine's own kernel32 export; the result is freed with HeapFree.
using UnixNameFunction = char* CDECL(LPCWSTR);

// The Unix name of an existing Windows path; empty when not running under Wine.
inline std::string UnixName(const std::string& path) {
  auto* unixName = reinterpret_cast<UnixNameFunction*>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (unixName == nullptr) return std::string();
  std::wstring wide(path.begin(), path.end());
  char* name = unixName(wide.c_str());
  if (name == nullptr) return std::string();
  std::string text = name;
  HeapFree(GetProcessHeap(), 0, name);
  return text;
}

// Starts a Unix program and waits for what it was run for: Wine gives no handle to wait on
// for such a process, so done is asked again every 10 ms, for at most a minute.
inline bool RunUnixUntil(std::string commandLine, const std::function<bool()>& done) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  if (process.hProcess != nullptr) CloseHandle(process.hProcess);
  if (process.hThread != nullptr) CloseHandle(process.hThread);
  for (int i = 0; i < 6000; ++i) {
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

class ScratchDrive {
 public:
  // Maps letter: to a fresh folder of the running test under the system's temporary folder.
  explicit ScratchDrive(char letter) : root_(std::string(1, letter) + ":\\") {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix == nullptr) return;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = file_test::SystemTempDir() + "\\quorvex-drive-" + test->name();
    file_test::RemoveTree(folder_);
    if (!CreateDirectoryA(folder_.c_str(), nullptr)) return;
    unixFolder_ = UnixName(folder_);
    // Only ever a folder of this helper's own: the destructor removes it with rm -rf.
    if (unixFolder_.find("/quorvex-drive-") == std::string::npos) {
      unixFolder_.clear();
      return;
    }
    deviceLink_ = std::string(prefix) + "/dosdevices/" + char(letter | 0x20) + ":";
    std::string marker = "drive-of-" + std::string(test->name());
    if (!file_test::WriteBytes(folder_ + "\\" + marker, "")) return;
    std::string seen = root_ + marker;
    ready_ = RunUnixUntil("/bin/ln -sfn \"" + unixFolder_ + "\" \"" + deviceLink_ + "\"",
                          [&] { return file_test::Exists(seen); }) &&
             DeleteFileA(seen.c_str());
  }
  ~ScratchDrive() {
    if (unixFolder_.empty()) return;
    // The letter goes first, seen to go while its folder still exists, so that no late rm can
    // take the next test's mapping; rm does not follow the links the test made inside the
    // folder, which the Windows functions would under Wine.
    if (!deviceLink_.empty()) {
      RunUnixUntil("/bin/rm -f \"" + deviceLink_ + "\"", [&] { return !file_test::Exists(root_); });
    }
    RunUnixUntil("/bin/rm -rf \"" + unixFolder_ + "\"",
                 [&] { return !file_test::Exists(folder_); });
  }
  ScratchDrive(const ScratchDrive&) = delete;
  ScratchDrive& operator=(const ScratchDrive&) = delete;

  // False (and the test should skip) when the letter could not be mapped.
  bool Ready() const { return ready_; }
  const std::string& Root() const { return root_; }
  std::string operator/(const std::string& name) const { return root_ + name; }

  // Makes name (relative to the root) a symbolic link to target (relative to the link's
  // folder), as a junction or folder link on Windows would be.
  bool Link(const std::string& name, const std::string& target) const {
    std::string path = root_ + name;
    std::string unixPath = unixFolder_ + "/" + name;
    for (char& ch : unixPath) {
      if (ch == '\\') ch = '/';
    }
    return RunUnixUntil("/bin/ln -sfn \"" + target + "\" \"" + unixPath + "\"",
                        [&] { return file_test::Exists(path); });
  }

 private:
  std::string root_;
  std::string folder_;
  std::string unixFolder_;
  std::string deviceLink_;
  bool ready_ = false;
};

}  // namespace scratch_drive
