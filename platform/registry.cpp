// The registry cursor: opening, closing, display paths and the error report.
#include "platform/registry.h"

#include "core/value.h"
#include "platform/registry_key.h"
#include "platform/system_error.h"
#include "platform/ui_hooks.h"

namespace {

constexpr char kErrorTitle[] = "Registry Error";

struct RootName {
  HKEY root;
  const char* prefix;
};

// The roots whose opens start a display path; any other parent is an open key and adds
// nothing.
const RootName kRootNames[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT\\"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER\\"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE\\"},
    {HKEY_USERS, "HKEY_USERS\\"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG\\"},
};

const char* RootPrefix(HKEY parent) {
  for (const RootName& name : kRootNames) {
    if (name.root == parent) return name.prefix;
  }
  return nullptr;
}

}  // namespace

Registry::~Registry() { CloseKeys(); }

bool Registry::Exchange(const char* name, Value& value) {
  return IsStoring() ? SetValue(name, value, 0) : QueryValue(name, value, 0);
}

bool Registry::OpenChild(const char* name) { return OpenSub(name, 0) != OpenResult::Failed; }

OpenResult Registry::Open(HKEY parent, const char* subkey, uint32_t flags) {
  RegistryKey opened;
  DWORD disposition = REG_OPENED_EXISTING_KEY;
  LONG result;
  if (flags & RegReadOnly) {
    result = RegOpenKeyExA(parent, subkey, 0, KEY_READ, opened.Receive());
  } else if (flags & RegOpenOnly) {
    result = RegOpenKeyExA(parent, subkey, 0, KEY_ALL_ACCESS, opened.Receive());
  } else {
    char noClass[] = "";
    result = RegCreateKeyExA(parent, subkey, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                             nullptr, opened.Receive(), &disposition);
  }
  if (result != ERROR_SUCCESS) {
    // The registry functions return their error instead of setting it; the report and the
    // caller read it from the thread.
    SetLastError(DWORD(result));
    ReportFailure(flags);
    return OpenResult::Failed;
  }
  previousKeys_.Push(key_);
  previousPaths_.Push(path_);
  key_ = opened.Release();
  if (const char* prefix = RootPrefix(parent)) path_ = prefix;
  path_ += subkey;
  return disposition == REG_CREATED_NEW_KEY ? OpenResult::Created : OpenResult::Existed;
}

OpenResult Registry::OpenSub(const char* subkey, uint32_t flags) {
  if (key_ == nullptr) return OpenResult::Failed;
  return Open(key_, subkey, flags);
}

OpenResult Registry::OpenSoftware(const char* subkey, bool currentUser, uint32_t flags) {
  return Open(SoftwareRoot(currentUser), SoftwarePath(subkey).CStr(), flags);
}

void Registry::Close() {
  if (key_ != nullptr) {
    RegCloseKey(key_);
    key_ = nullptr;
  }
  if (!previousKeys_.IsEmpty()) key_ = previousKeys_.Pop();
  if (!previousPaths_.IsEmpty()) path_ = previousPaths_.Pop();
}

void Registry::CloseKeys() {
  while (!previousKeys_.IsEmpty()) Close();
}

HKEY Registry::SoftwareRoot(bool currentUser) {
  return currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

String Registry::SoftwarePath(const char* subkey) { return String("Software\\") + subkey; }

bool Registry::SplitLastComponent(const char* path, String& keyPath, String& name) {
  String text(path);
  int separator = text.FindCharReverse('\\');
  keyPath = separator < 0 ? String() : text.Substring(0, separator);
  name = text.Substring(separator + 1);
  return !name.IsEmpty();
}

void Registry::ReportFailure(uint32_t flags) {
  if (!(flags & RegReportErrors)) return;
  DWORD code = GetLastError();
  String text = SystemErrorText(code);
  if (!text.IsEmpty()) ShowMessageBox(nullptr, text.CStr(), kErrorTitle, MB_ICONERROR);
  // The report changes nothing: the caller still finds the failure's code.
  SetLastError(code);
}
