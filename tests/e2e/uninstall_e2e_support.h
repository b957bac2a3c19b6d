// Installations made by hand for the uninstaller's end-to-end tests: an Uninstall entry and an
// Uninstall.DAT written in the documented formats, the files, folders and keys they name, and a
// copy of quorvex.exe as the uninstaller; then the uninstaller started as Windows starts the
// entry's command, and the self-removal it leaves behind waited for.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/quorvex_process.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/file_test_support.h"
#include "tests/win32/registry_test_support.h"

namespace uninstall_e2e {

inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
inline constexpr char kFontsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
inline constexpr char kSelfRemovalBatch[] = "c:\\delunins.bat";
// The 19 ids of the [Strings] section, in the order the installation writes them.
inline constexpr int kStoredIds[] = {10, 15, 20, 30, 34, 35, 39, 49, 53, 55,
                                     56, 57, 58, 59, 67, 68, 69, 70, 71};

inline std::string EntryPath(const std::string& name) {
  return std::string(kUninstallKey) + "\\" + name;
}

inline void SetText(HKEY root, const std::string& key, const char* name, const std::string& text) {
  ASSERT_TRUE(registry_test::SetRawValue(root, key, name, REG_SZ, text + std::string(1, '\0')));
}

inline void SetDword(HKEY root, const std::string& key, const char* name, uint32_t value) {
  ASSERT_TRUE(registry_test::SetRawValue(root, key, name, REG_DWORD, registry_test::Dword(value)));
}

// The text of a REG_SZ value without its terminator; "<missing>" when there is none.
inline std::string Text(HKEY root, const std::string& key, const char* name) {
  registry_test::RawValue value = registry_test::GetRawValue(root, key, name);
  if (!value.found) return "<missing>";
  std::string bytes = value.bytes;
  while (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
  return bytes;
}

inline bool HasValue(HKEY root, const std::string& key, const char* name) {
  return registry_test::GetRawValue(root, key, name).found;
}

// The text of each stored id: "U <id>", except where texts gives one (id, text pairs).
inline std::string StoredText(int id, const std::vector<std::pair<int, std::string>>& texts) {
  for (const auto& [each, text] : texts) {
    if (each == id) return text;
  }
  return "U " + std::to_string(id);
}

// The [Strings] section as the installation writes it, with "\r\n\r\n" before its header.
inline std::string StringsSection(const std::vector<std::pair<int, std::string>>& texts = {}) {
  std::string section = "\r\n\r\n[Strings]\r\n";
  for (int id : kStoredIds)
    section += "~" + std::to_string(id) + "\r\n" + StoredText(id, texts) + "\r\n";
  return section;
}

inline std::string AssociationsSection(const std::string& lines) {
  return "\r\n\r\n[Associations]\r\n" + lines;
}

inline std::string ShortPathOf(const std::string& path) {
  char shortPath[MAX_PATH] = "";
  DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  return n > 0 && n < sizeof shortPath ? std::string(shortPath, n) : path;
}

inline void MakeDirs(const std::string& path) {
  for (size_t pos = path.find('\\', 3);; pos = path.find('\\', pos + 1)) {
    CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
    if (pos == std::string::npos) break;
  }
}

inline void WriteFile(const std::string& path, const std::string& bytes = "data") {
  MakeDirs(path.substr(0, path.find_last_of('\\')));
  ASSERT_TRUE(file_test::WriteBytes(path, bytes)) << path;
}

// The Shell Folders path of a folder of the user (or of all users).
inline std::string ShellFolderPath(const char* name, bool allUsers) {
  return Text(allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
              "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name);
}

// Waits for the self-removal batch to delete the uninstaller and itself; false when that has
// not happened within timeoutMs.
inline bool WaitForSelfRemoval(const std::string& uninstaller, DWORD timeoutMs = 30000) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
    if (!file_test::Exists(uninstaller) && !file_test::Exists(kSelfRemovalBatch)) {
      Sleep(300);  // the interpreter's console lets go of its last handles
      return true;
    }
    Sleep(100);
  }
  return false;
}

// A product installed by hand: its folder under C:\Quorvex Uninstall Tests named after the
// running test, its Uninstall entry and the uninstaller copy. Everything it made is removed
// again at the end, whatever the uninstaller left.
class HandInstall {
 public:
  // Nothing is registered yet: only the test's own folder is made, empty.
  explicit HandInstall(const std::string& name, const std::string& subdir = "Uninst")
      : name_(name), subdir_(subdir) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::string("C:\\Quorvex Uninstall Tests\\") + test->name();
    installDir_ = root_ + "\\" + name;
    uninstaller_ = UninstallDir() + "\\Uninstall " + name + ".exe";
    Clean();
    MakeDirs(root_);
  }
  // The install folder with the uninstaller copy, and the Uninstall entry with its commands,
  // name, install location, subfolder and flags (bit 2).
  void Register() {
    MakeDirs(UninstallDir());
    ASSERT_TRUE(CopyFileA(QuorvexPath().c_str(), uninstaller_.c_str(), FALSE));
    const std::string entry = Entry();
    registry_test::CreateKey(HKEY_LOCAL_MACHINE, entry);
    Set("UninstallString", uninstaller_ + " /u:\"" + name_ + "\"");
    Set("QuietUninstallString", uninstaller_ + " /a /u:\"" + name_ + "\"");
    Set("DisplayName", name_);
    Set("InstallLocation", installDir_);
    Set("UninstallSubdir", subdir_);
    Set("ProductFlags", "4");
  }
  ~HandInstall() { Clean(); }
  HandInstall(const HandInstall&) = delete;
  HandInstall& operator=(const HandInstall&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Root() const { return root_; }
  const std::string& InstallDir() const { return installDir_; }
  std::string UninstallDir() const {
    return subdir_.empty() ? installDir_ : installDir_ + "\\" + subdir_;
  }
  const std::string& Uninstaller() const { return uninstaller_; }
  std::string Entry() const { return EntryPath(name_); }
  std::string operator/(const std::string& name) const { return installDir_ + "\\" + name; }
  std::string Record(const std::string& name) const { return UninstallDir() + "\\" + name; }

  void Set(const char* value, const std::string& text) {
    SetText(HKEY_LOCAL_MACHINE, Entry(), value, text);
  }
  void SetFlags(uint64_t flags) { Set("ProductFlags", std::to_string(int64_t(flags))); }
  void WriteData(const std::string& text) { WriteFile(Record("Uninstall.DAT"), text); }

  std::string Quiet() const { return Text(HKEY_LOCAL_MACHINE, Entry(), "QuietUninstallString"); }
  std::string Interactive() const { return Text(HKEY_LOCAL_MACHINE, Entry(), "UninstallString"); }

  // Things outside the install folder that the test made and Clean removes.
  void Own(const std::string& path) { owned_.push_back(path); }

 private:
  void Clean() {
    registry_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, Entry());
    for (const std::string& path : owned_) file_test::RemoveTree(path);
    file_test::RemoveTree(root_);
    RemoveDirectoryA("C:\\Quorvex Uninstall Tests");
  }

  std::string name_;
  std::string subdir_;
  std::string root_;
  std::string installDir_;
  std::string uninstaller_;
  std::vector<std::string> owned_;
};

// The transcript line of a box.
inline std::string Box(const char* owner, unsigned style, const std::string& caption,
                       const std::string& text, int answer) {
  char styleText[16];
  snprintf(styleText, sizeof styleText, "0x%08X", style);
  return std::string("box\t") + owner + "\t" + styleText + "\t" + TranscriptEscaped(caption) +
         "\t" + TranscriptEscaped(text) + "\t" + std::to_string(answer);
}

}  // namespace uninstall_e2e
