// A registry key whose access list lets everyone read it and nobody write it, as
// HKEY_LOCAL_MACHINE is for a limited user on Windows NT; the key's owner may still change the
// list, which is how the full list comes back at the end.
#pragma once

#include <sddl.h>
#include <windows.h>

#include <string>

namespace registry_test {

class WriteDeniedKey {
 public:
  // parent\path must exist.
  WriteDeniedKey(HKEY parent, const std::string& path) : parent_(parent), path_(path) {
    locked_ = SetAccess("D:P(A;;KR;;;WD)");
  }
  ~WriteDeniedKey() {
    if (locked_) SetAccess("D:P(A;;KA;;;WD)");
  }
  WriteDeniedKey(const WriteDeniedKey&) = delete;
  WriteDeniedKey& operator=(const WriteDeniedKey&) = delete;

  // The list is set and the system enforces it: the key no longer opens for writing.
  bool Enforced() const {
    if (!locked_) return false;
    HKEY key;
    LONG result = RegOpenKeyExA(parent_, path_.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result == ERROR_SUCCESS) RegCloseKey(key);
    return result == ERROR_ACCESS_DENIED;
  }

 private:
  bool SetAccess(const char* descriptorText) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(descriptorText, SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
      return false;
    }
    HKEY key;
    bool ok = RegOpenKeyExA(parent_, path_.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS;
    if (ok) {
      ok = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
      RegCloseKey(key);
    }
    LocalFree(descriptor);
    return ok;
  }

  HKEY parent_;
  std::string path_;
  bool locked_ = false;
};

}  // namespace registry_test
