#include "platform/delete_tree.h"

#include <windows.h>

#include "platform/deferred_replace.h"
#include "platform/directories.h"
#include "platform/file_finder.h"
#include "platform/path_text.h"
#include "platform/system_paths.h"

namespace {

bool IsProtected(const String& directory) {
  const String& windows = WindowsDir();
  return directory.Length() <= 3 ||
         (!windows.IsEmpty() && directory.Compare(windows.CStr(), false, windows.Length()) == 0);
}

bool IsDotEntry(const String& name) { return name.Equals(".") || name.Equals(".."); }

}  // namespace

bool DeleteTree(const String& directory) {
  if (IsProtected(directory)) return false;
  bool ok = true;
  DWORD failure = ERROR_SUCCESS;
  FileFinder finder;
  FindRecord entry;
  for (bool found = finder.FindFirst(JoinPath(directory, "*.*"), &entry); found;
       found = finder.FindNext(&entry)) {
    if (IsDotEntry(entry.longName)) continue;
    String path = JoinPath(directory, entry.longName);
    bool removed = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY)
                       ? DeleteTree(path)
                       : DeleteFileOrSchedule(path.CStr(), 0);
    if (!removed) {
      ok = false;
      failure = GetLastError();
    }
  }
  finder.Close();
  SetLastError(failure);
  bool removed = RemoveDirectoryIfEmpty(directory);
  // A failure in the walk leaves the directory full, so its removal fails too; the caller's
  // message names the failure of the walk, not that consequence.
  if (!ok) SetLastError(failure);
  return removed && ok;
}
