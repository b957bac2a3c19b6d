// Registry values that a test sets for its own run and puts back afterwards: the previous data
// and type when the value existed, otherwise the value is deleted (and a key the helper had to
// create is removed again), so the prefix's own settings survive the test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace registry_override {

class RegistryOverrides {
 public:
  RegistryOverrides() = default;
  RegistryOverrides(const RegistryOverrides&) = delete;
  RegistryOverrides& operator=(const RegistryOverrides&) = delete;
  ~RegistryOverrides() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Restore(*it);
  }

  // Sets the REG_SZ value name of root\key to text.
  void Set(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    HKEY handle = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                              &disposition),
              ERROR_SUCCESS)
        << key;
    if (!IsSaved(root, key, name)) {
      saved_.push_back(Save(root, key, name, handle, disposition == REG_CREATED_NEW_KEY));
    }
    LONG result =
        RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       DWORD(text.size() + 1));
    RegCloseKey(handle);
    ASSERT_EQ(result, ERROR_SUCCESS) << key << "\\" << name;
  }

  // Deletes the value for the test's run.
  void Remove(HKEY root, const std::string& key, const std::string& name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return;
    if (!IsSaved(root, key, name)) saved_.push_back(Save(root, key, name, handle, false));
    RegDeleteValueA(handle, name.c_str());
    RegCloseKey(handle);
  }

 private:
  struct Saved {
    HKEY root;
    std::string key;
    std::string name;
    bool keyCreated;
    bool existed;
    DWORD type;
    std::string data;
  };

  bool IsSaved(HKEY root, const std::string& key, const std::string& name) const {
    for (const Saved& s : saved_) {
      if (s.root == root && s.key == key && s.name == name) return true;
    }
    return false;
  }

  static Saved Save(HKEY root, const std::string& key, const std::string& name, HKEY handle,
                    bool keyCreated) {
    Saved s{root, key, name, keyCreated, false, REG_NONE, std::string()};
    DWORD size = 0;
    if (RegQueryValueExA(handle, name.c_str(), nullptr, &s.type, nullptr, &size) != ERROR_SUCCESS) {
      return s;
    }
    s.data.resize(size);
    if (RegQueryValueExA(handle, name.c_str(), nullptr, &s.type,
                         reinterpret_cast<BYTE*>(&s.data[0]), &size) == ERROR_SUCCESS) {
      s.data.resize(size);
      s.existed = true;
    }
    return s;
  }

  static void Restore(const Saved& s) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(s.root, s.key.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return;
    if (s.existed) {
      RegSetValueExA(handle, s.name.c_str(), 0, s.type,
                     reinterpret_cast<const BYTE*>(s.data.data()), DWORD(s.data.size()));
    } else {
      RegDeleteValueA(handle, s.name.c_str());
    }
    RegCloseKey(handle);
    // The key was the test's own: the first value set in it is restored last.
    if (s.keyCreated) RegDeleteKeyA(s.root, s.key.c_str());
  }

  std::vector<Saved> saved_;
};

}  // namespace registry_override
