// Writing values to the current key.
#include "core/value.h"
#include "platform/registry.h"

bool Registry::WriteValue(const char* name, DWORD type, const void* data, DWORD size) {
  if (key_ == nullptr) return false;
  return RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool Registry::SetValue(const char* name, const Value& value, uint32_t flags) {
  if (key_ == nullptr) return false;
  if (value.IsEmpty() || ((flags & RegDeleteIfEmpty) && value.IsZero())) {
    DeleteValue(name);
    return true;
  }
  if (value.IsInteger()) {
    uint32_t number = uint32_t(value.ToInt32());
    return WriteValue(name, REG_DWORD, &number, sizeof number);
  }
  return SetString(name, value.ToText(), flags);
}

bool Registry::SetDword(const char* name, uint32_t value, uint32_t flags) {
  if (key_ == nullptr) return false;
  if ((flags & RegDeleteIfEmpty) && value == 0) {
    DeleteValue(name);
    return true;
  }
  return WriteValue(name, REG_DWORD, &value, sizeof value);
}

bool Registry::SetBool(const char* name, bool value) { return SetDword(name, value ? 1 : 0, 0); }

bool Registry::SetText(const char* name, const char* text, uint32_t flags) {
  return SetString(name, String(text), flags);
}

bool Registry::SetString(const char* name, const String& text, uint32_t flags) {
  if (key_ == nullptr) return false;
  if ((flags & RegDeleteIfEmpty) && text.IsEmpty()) {
    return DeleteValue(name) == DeleteResult::Deleted;
  }
  DWORD type = REG_SZ;
  if (flags & RegBinary) {
    type = REG_BINARY;
  } else if (flags & RegExpand) {
    type = REG_EXPAND_SZ;
  }
  // The length leaves out the terminator; for the string types the system stores one anyway,
  // since the byte after the counted text is always a zero.
  return WriteValue(name, type, text.CStr(), DWORD(text.Length()));
}
