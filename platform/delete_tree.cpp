#include "platform/delete_tree.h"

#include <windows.h>

#include "platform/canonical_path.h"
#include "platform/deferred_replace.h"
#include "platform/directories.h"
#include "platform/file_finder.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/system_paths.h"

namespace {

// The folders no deletion may take, in the one spelling CanonicalPath gives; worked out once
// per DeleteTree, not once per folder of the tree.
struct ProtectedFolders {
  String windows;
  String programFiles;
};

ProtectedFolders CurrentProtectedFolders() {
  ProtectedFolders folders;
  folders.windows = CanonicalPath(WindowsDir());
  folders.programFiles = CanonicalPath(ProgramFilesDir());
  return folders;
}

bool StartsWithIgnoringCase(const String& text, const String& prefix) {
  return !prefix.IsEmpty() && text.Compare(prefix.CStr(), false, prefix.Length()) == 0;
}

// Compared by what the text names, not how it is spelt: "C:\x\..", "c:/", the short form of
// the Windows directory and "C:\Program Files\" are refused like "C:\", "C:\WINDOWS" and
// "C:\Program Files". Device paths ("\\?\", "\\.\") are never needed here and are refused.
bool IsProtectedCanonical(const String& canonical, const ProtectedFolders& folders) {
  if (IsRootPath(canonical)) return true;
  if (canonical.StartsWith("\\\\?\\") || canonical.StartsWith("\\\\.\\")) return true;
  if (StartsWithIgnoringCase(canonical, folders.windows)) return true;
  return !folders.programFiles.IsEmpty() &&
         canonical.CompareString(folders.programFiles, false) == 0;
}

bool IsDotEntry(const String& name) { return name.Equals(".") || name.Equals(".."); }

bool IsLink(const String& path) {
  DWORD attributes = GetFileAttributesA(path.CStr());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The walk goes through the folder as the guard saw it, whatever spelling the caller used.
bool DeleteGuardedTree(const String& directory, const ProtectedFolders& folders) {
  if (directory.Length() <= 3) return false;
  String canonical = CanonicalPath(directory);
  if (IsProtectedCanonical(canonical, folders)) return false;
  // A junction or symbolic link is removed itself; what it points to is someone else's.
  if (IsLink(canonical)) return RemoveDirectoryIfEmpty(canonical);
  bool ok = true;
  DWORD failure = ERROR_SUCCESS;
  FileFinder finder;
  FindRecord entry;
  for (bool found = finder.FindFirst(JoinPath(canonical, "*.*"), &entry); found;
       found = finder.FindNext(&entry)) {
    if (IsDotEntry(entry.longName)) continue;
    String path = JoinPath(canonical, entry.longName);
    bool removed = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY)
                       ? DeleteGuardedTree(path, folders)
                       : DeleteFileOrSchedule(path.CStr(), 0);
    if (!removed) {
      ok = false;
      failure = GetLastError();
    }
  }
  finder.Close();
  SetLastError(failure);
  bool removed = RemoveDirectoryIfEmpty(canonical);
  // A failure in the walk leaves the directory full, so its removal fails too; the caller's
  // message names the failure of the walk, not that consequence.
  if (!ok) SetLastError(failure);
  return removed && ok;
}

}  // namespace

bool DeleteTree(const String& directory) {
  return DeleteGuardedTree(directory, CurrentProtectedFolders());
}

bool IsProtectedFromDeletion(const String& directory) {
  return directory.Length() <= 3 ||
         IsProtectedCanonical(CanonicalPath(directory), CurrentProtectedFolders());
}
