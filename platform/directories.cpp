
#include <windows.h>

#include "core/vector.h"
#include "platform/path_text.h"

namespace {

// Most current directories fit; a longer one is asked for again with the size it needs.
constexpr DWORD kFirstCurrentDirSize = 100;
// No path the system accepts is longer, not even in the "\\?\" form.
constexpr int kLongestSystemPath = 32767;

}  // namespace

String GetCurrentDir() {
  String dir;
  dir.Resize(int(kFirstCurrentDirSize));
  DWORD n = GetCurrentDirectoryA(kFirstCurrentDirSize, dir.Data());
  if (n >= kFirstCurrentDirSize) {
    // n is the size needed, terminator included.
    DWORD needed = n;
    dir.Resize(int(needed));
    n = GetCurrentDirectoryA(needed, dir.Data());
    if (n >= needed) n = 0;  // it grew again in between: give up rather than cut it
  }
  dir.Resize(int(n));
  return dir;
}

bool DirectoryExists(const String& path) {
  if (path.IsEmpty()) return false;
  String remembered = GetCurrentDir();
  if (!SetCurrentDirectoryA(path.CStr())) return false;
  if (!remembered.IsEmpty()) SetCurrentDirectoryA(remembered.CStr());
  return true;
}

bool CreateDirectoryPath(const String& path) {
  // Such a folder can never be made; the walk up would take a step per backslash for nothing.
  if (path.IsEmpty() || path.Length() > kLongestSystemPath) return false;
  // Every parent is a leading part of path, so the chain of folders to make is a list of
  // lengths, the innermost first. Walking up in a loop rather than by recursion keeps a path of
  // any length from exhausting the stack.
  Vector<int> missing;
  String current = path;
  while (!DirectoryExists(current)) {
    String parent = DirectoryPart(current);
    if (parent.Equals(current)) break;  // a drive root: nothing to create
    missing.Append(current.Length());
    if (parent.Length() < 4) break;  // "C:\" or shorter is never created
    current = parent;
  }
  for (int i = missing.Count() - 1; i >= 0; --i) {
    String folder = path.Substring(0, missing[i]);
    CreateDirectoryA(folder.CStr(), nullptr);
    // Someone else may have made it in between; what counts is that it is there now.
    if (!DirectoryExists(folder)) return false;
  }
  return true;
}

bool RemoveDirectoryIfEmpty(const String& path) {
  if (path.Length() <= 3) return false;
  String dir = path;
  dir.RemoveLastIf('\\');
  return RemoveDirectoryA(dir.CStr()) != 0;
}
