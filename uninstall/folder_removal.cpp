#include "uninstall/folder_removal.h"

#include "platform/canonical_path.h"
#include "platform/directories.h"
#include "platform/path_text.h"

namespace {

// Whether path lies below root (both canonical): root, a backslash, and more.
bool IsBelow(const String& path, const String& root) {
  if (root.IsEmpty() || path.Length() <= root.Length()) return false;
  if (path.Compare(root.CStr(), false, root.Length()) != 0) return false;
  return root.EndsWithChar('\\') || path.CharAt(root.Length()) == '\\';
}

// The text up to the last backslash, keeping it after a drive colon ("C:\x" gives "C:\").
String ParentOf(const String& path) {
  int separator = path.FindCharReverse('\\');
  if (separator < 0) return String();
  if (separator == 2 && path.CharAt(1) == ':') return path.Substring(0, 3);
  return path.Substring(0, separator);
}

}  // namespace

int RemoveEmptyFolders(const String& folder, const String& root, int maxLevels) {
  String canonicalRoot = CanonicalPath(root);
  String current = CanonicalPath(folder);
  int removed = 0;
  if (current.IsEmpty() || SamePath(current, canonicalRoot)) return removed;
  while (removed < maxLevels && RemoveDirectoryIfEmpty(current)) {
    ++removed;
    current = ParentOf(current);
    if (!IsBelow(current, canonicalRoot)) break;
  }
  return removed;
}
