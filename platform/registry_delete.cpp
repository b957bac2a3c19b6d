// Deleting values and key trees.
#include "platform/registry.h"

DeleteResult Registry::DeleteValue(const char* name) {
  if (key_ == nullptr) return DeleteResult::NotFound;
  return RegDeleteValueA(key_, name) == ERROR_SUCCESS ? DeleteResult::Deleted
                                                      : DeleteResult::Failed;
}

DeleteResult Registry::DeleteSubKey(const char* name, uint32_t flags) {
  if (key_ == nullptr || name == nullptr) return DeleteResult::NotFound;
  if ((flags & RegOnlyIfEmpty) && !IsSubKeyEmpty(name)) return DeleteResult::NotEmpty;
  // Children first: systems of the NT family refuse to delete a key that has subkeys. A child
  // that cannot be deleted is not reported here; it makes the deletion of name fail below.
  if (OpenSub(name, RegOpenOnly) == OpenResult::Failed) {
    ReportFailure(flags);
  } else {
    Array<String> children;
    EnumSubKeys(&children);
    for (int i = 0; i < children.Count(); ++i) DeleteSubKey(children[i].CStr(), flags);
    Close();
  }
  LONG result = RegDeleteKeyA(key_, name);
  if (result != ERROR_SUCCESS) {
    SetLastError(DWORD(result));
    ReportFailure(flags);
    return DeleteResult::Failed;
  }
  return DeleteResult::Deleted;
}

DeleteResult Registry::DeleteKey(HKEY parent, const char* keyPath, const char* name,
                                 uint32_t flags) {
  if (Open(parent, keyPath, RegOpenOnly) == OpenResult::Failed) return DeleteResult::NotFound;
  DeleteResult result = DeleteSubKey(name, flags);
  Close();
  return result;
}

DeleteResult Registry::DeleteKeyPath(HKEY parent, const char* path, uint32_t flags) {
  String keyPath;
  String name;
  if (!SplitLastComponent(path, keyPath, name)) return DeleteResult::NotFound;
  return DeleteKey(parent, keyPath.CStr(), name.CStr(), flags);
}

DeleteResult Registry::DeleteSoftwareKey(const char* path, bool currentUser, uint32_t flags) {
  return DeleteKeyPath(SoftwareRoot(currentUser), SoftwarePath(path).CStr(), flags);
}

DeleteResult Registry::DeleteSoftwareSubKey(const char* keyPath, const char* name, bool currentUser,
                                            uint32_t flags) {
  return DeleteKey(SoftwareRoot(currentUser), SoftwarePath(keyPath).CStr(), name, flags);
}
