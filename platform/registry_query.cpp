// Queries of keys: existence, subkey counts, emptiness, enumeration, value existence.
#include "platform/registry.h"
#include "platform/registry_key.h"

namespace {

// RegEnumKeyA's buffer; names that do not fit end the enumeration with ERROR_MORE_DATA.
constexpr DWORD kNameBufferSize = 200;

}  // namespace

bool Registry::SoftwareKeyExists(const char* subkey, bool currentUser) {
  if (subkey == nullptr) return false;
  RegistryKey key;
  return RegOpenKeyExA(SoftwareRoot(currentUser), SoftwarePath(subkey).CStr(), 0, KEY_READ,
                       key.Receive()) == ERROR_SUCCESS;
}

int32_t Registry::CountSubKeys() const {
  if (key_ == nullptr) return -1;
  DWORD subKeys = 0;
  if (RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return -1;
  }
  return int32_t(subKeys);
}

bool Registry::IsKeyEmpty() const {
  if (key_ == nullptr) return true;
  DWORD subKeys = 0;
  DWORD values = 0;
  if (RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return true;
  }
  return subKeys == 0 && values == 0;
}

bool Registry::IsSubKeyEmpty(const char* name) {
  if (OpenSub(name, RegReadOnly) == OpenResult::Failed) return true;
  bool empty = IsKeyEmpty();
  Close();
  return empty;
}

int32_t Registry::EnumSubKeys(Array<String>* out) const {
  if (key_ == nullptr || out == nullptr) return 0;
  int32_t added = 0;
  LONG result;
  for (DWORD index = 0;; ++index) {
    char name[kNameBufferSize];
    result = RegEnumKeyA(key_, index, name, kNameBufferSize - 1);
    if (result != ERROR_SUCCESS) break;
    out->Append(String(name));
    ++added;
  }
  SetLastError(result == ERROR_NO_MORE_ITEMS ? 0 : DWORD(result));
  return added;
}

bool Registry::ValueExists(const char* name) const {
  if (key_ == nullptr) return false;
  return RegQueryValueExA(key_, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
