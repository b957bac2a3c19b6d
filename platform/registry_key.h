// RegistryKey: sole owner of one open registry key handle, closed when the holder goes away.
// Used where a key is opened for a moment outside the registry cursor's own stack.
#pragma once

#include <windows.h>

class RegistryKey {
 public:
  RegistryKey() = default;
  explicit RegistryKey(HKEY key) : key_(key) {}
  ~RegistryKey() { Close(); }
  RegistryKey(RegistryKey&& other) noexcept : key_(other.Release()) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = other.Release();
    }
    return *this;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  HKEY Get() const { return key_; }
  bool IsOpen() const { return key_ != nullptr; }
  // Where RegOpenKeyExA and RegCreateKeyExA store a new handle; any key held is closed first.
  HKEY* Receive() {
    Close();
    return &key_;
  }
  // Gives up ownership without closing.
  HKEY Release() {
    HKEY key = key_;
    key_ = nullptr;
    return key;
  }
  void Close() {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};
