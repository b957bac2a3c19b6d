// Helpers shared by the registry cursor's tests: a scratch key per test and raw Win32 access to
// keys and values, so that what Registry did is checked independently of Registry.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/string.h"
#include "core/value.h"
#include "tests/support/ui_transcript.h"

namespace registry_test {

// Removes the subkey name of parent and everything below it, children first (the system
// refuses keys that still have subkeys). Works through handles, since the system limits the
// length of a subkey text.
inline void DeleteKeyTree(HKEY parent, const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  std::vector<std::string> children;
  char child[512];
  for (DWORD i = 0; RegEnumKeyA(key, i, child, sizeof child) == ERROR_SUCCESS; ++i) {
    children.push_back(child);
  }
  for (const std::string& each : children) DeleteKeyTree(key, each);
  RegCloseKey(key);
  RegDeleteKeyA(parent, name.c_str());
}

inline bool CreateKey(HKEY root, const std::string& path) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

inline bool KeyExists(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Writes bytes exactly as given (creating the key), so tests choose sizes and terminators.
inline bool SetRawValue(HKEY root, const std::string& path, const char* name, DWORD type,
                        const std::string& bytes) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               DWORD(bytes.size()));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

struct RawValue {
  bool found = false;
  DWORD type = 0xDEADBEEF;
  std::string bytes = "<unread>";
};

inline RawValue GetRawValue(HKEY root, const std::string& path, const char* name) {
  RawValue value;
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    std::string bytes(size, '\xCC');
    if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(&bytes[0]),
                         &size) == ERROR_SUCCESS) {
      value.found = true;
      value.bytes = bytes.substr(0, size);
    }
  }
  RegCloseKey(key);
  return value;
}

inline std::string Dword(uint32_t value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// The system's text for an error code, as the "Registry Error" box shows it.
inline std::string SystemMessage(DWORD code) {
  char text[1024] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, LANG_USER_DEFAULT, text, sizeof text, nullptr);
  return std::string(text, n);
}

// The transcript line of the "Registry Error" box for an error code: no owner, error icon.
inline std::string RegistryErrorBox(DWORD code) {
  return "box\tnone\t0x00000010\tRegistry Error\t" + TranscriptEscaped(SystemMessage(code)) + "\t1";
}

inline std::string Bytes(const String& text) { return std::string(text.CStr(), text.Length()); }

// The text a Value holds; "<not text>" when it holds something else.
inline std::string TextOf(Value& value) {
  if (value.Storage() != Value::kTextStorage) return "<not text>";
  return Bytes(value.TextRef());
}

inline Value SentinelValue() {
  Value value;
  value.SetText("sentinel");
  return value;
}

// A key of the running test's own, Software\QuorvexTests\<suite>.<test> under root; removed
// before it is made and again at the end (with the QuorvexTests key once it is empty). Only
// the path is kept, never a handle: a death test's child re-creates the key, which would leave
// a handle of the parent pointing at a deleted key.
class ScratchKey {
 public:
  explicit ScratchKey(HKEY root = HKEY_CURRENT_USER) : root_(root) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    leaf_ = std::string(test->test_suite_name()) + "." + test->name();
    for (char& ch : leaf_) {
      if (ch == '/' || ch == '\\') ch = '_';
    }
    DeleteKeyTree(root_, Path());
    CreateKey(root_, Path());
  }
  ~ScratchKey() {
    DeleteKeyTree(root_, Path());
    RegDeleteKeyA(root_, "Software\\QuorvexTests");  // refused while other tests' keys remain
  }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  HKEY Root() const { return root_; }
  // Below Software, as OpenSoftware and the Software helpers take it.
  std::string SoftwarePath() const { return "QuorvexTests\\" + leaf_; }
  std::string Path() const { return "Software\\" + SoftwarePath(); }
  std::string operator/(const std::string& sub) const { return Path() + "\\" + sub; }
  std::string RootName() const {
    return root_ == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\";
  }
  std::string DisplayPath() const { return RootName() + Path(); }

 private:
  HKEY root_;
  std::string leaf_;
};

// A handle whose key has been deleted behind it: every call through it fails.
class DeletedKeyHandle {
 public:
  DeletedKeyHandle(HKEY root, const std::string& path) {
    CreateKey(root, path);
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
    DeleteKeyTree(root, path);
  }
  ~DeletedKeyHandle() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  DeletedKeyHandle(const DeletedKeyHandle&) = delete;
  DeletedKeyHandle& operator=(const DeletedKeyHandle&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// The fixture of every registry test: a scratch key under HKEY_CURRENT_USER, an empty
// transcript and the program name of the fatal message.
class RegistryTestBase : public testing::Test {
 protected:
  void SetUp() override { ClearUiTranscript(); }
  void TearDown() override { ClearUiTranscript(); }

  ScratchKey scratch_;
};

}  // namespace registry_test
