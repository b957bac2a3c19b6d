// Reading values: the query with its small first buffer, the typed readers and the
// required-value stop.
#include <cstring>

#include "core/fatal.h"
#include "core/value.h"
#include "platform/application_name.h"
#include "platform/registry.h"

namespace {

// Most values fit: the first query uses a small buffer and only longer values take a second.
constexpr DWORD kFirstTrySize = 32;

constexpr char kRequiredValueMessage[] =
    "The following registry key is required by %s, but is invalid or does not exist:\n\n%s%s\n\n"
    "If you have tried moving this program to a different computer by copying files, this will "
    "not work.  This program must be reinstalled.";

// The text length of data of the given type and size: REG_SZ and REG_MULTI_SZ lose one
// terminator, the other types keep every byte.
int TextLength(DWORD type, DWORD size) {
  int length = int(size);
  if (type == REG_SZ || type == REG_MULTI_SZ) --length;
  return length < 0 ? 0 : length;
}

}  // namespace

void Registry::RequiredValueMissing(const char* name) const {
  FatalErrorFormat(kRequiredValueMessage, ApplicationName.CStr(), path_.CStr(),
                   name != nullptr ? name : "");
}

bool Registry::QueryValue(const char* name, Value& out, uint32_t flags) {
  if (key_ == nullptr) return false;
  BYTE data[kFirstTrySize];
  DWORD type = REG_NONE;
  DWORD size = kFirstTrySize;
  LONG result = RegQueryValueExA(key_, name, nullptr, &type, data, &size);
  if (result == ERROR_SUCCESS) {
    switch (type) {
      case REG_SZ:
      case REG_EXPAND_SZ:
      case REG_BINARY:
      case REG_MULTI_SZ:
        // Only REG_SZ loses its terminator here; the others keep every byte.
        out.SetText(reinterpret_cast<const char*>(data),
                    type == REG_SZ ? TextLength(type, size) : int(size));
        return true;
      case REG_DWORD: {
        if (size != sizeof(int32_t)) return false;
        int32_t number;
        std::memcpy(&number, data, sizeof number);
        out.SetInt32(number);
        return true;
      }
      default:
        return false;
    }
  }
  if (result == ERROR_MORE_DATA) {
    out.SetText("");
    int length = TextLength(type, size);
    if (length == 0) return true;
    // The text's own buffer holds the value: it has room for the length and a terminator,
    // which covers the full size for every type.
    String text;
    if (!text.TryResize(length)) return false;
    DWORD secondType = type;
    DWORD secondSize = size;
    if (RegQueryValueExA(key_, name, nullptr, &secondType, reinterpret_cast<BYTE*>(text.Data()),
                         &secondSize) != ERROR_SUCCESS) {
      return false;
    }
    // The value may have shrunk between the two queries: keep only what was written.
    int written = TextLength(type, secondSize);
    if (written < length) text.Resize(written);
    out.SetText(text);
    return true;
  }
  if ((result == ERROR_FILE_NOT_FOUND || result == ERROR_BADKEY) && (flags & RegRequired)) {
    RequiredValueMissing(name);
  }
  return false;
}

bool Registry::ReadBool(const char* name, bool defaultValue, uint32_t flags) {
  Value value;
  return QueryValue(name, value, flags) ? value.ToBool() : defaultValue;
}

int32_t Registry::ReadInt(const char* name, int32_t defaultValue, uint32_t flags) {
  Value value;
  return QueryValue(name, value, flags) ? value.ToInt32() : defaultValue;
}

String Registry::ReadString(const char* name, const char* defaultText, uint32_t flags) {
  Value value;
  return QueryValue(name, value, flags) ? value.ToText() : String(defaultText);
}

bool Registry::ReadKeyValue(HKEY parent, const char* keyPath, const char* valueName, String& out,
                            uint32_t flags) {
  if (Open(parent, keyPath, RegReadOnly) == OpenResult::Failed) return false;
  out = ReadString(valueName, "", flags);
  Close();
  return true;
}

String Registry::ReadPathValue(HKEY parent, const char* path, const char* defaultText,
                               uint32_t flags) {
  String keyPath;
  String valueName;
  String text;
  if (!SplitLastComponent(path, keyPath, valueName) ||
      !ReadKeyValue(parent, keyPath.CStr(), valueName.CStr(), text, flags)) {
    return String(defaultText);
  }
  return text;
}
