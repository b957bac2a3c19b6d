// ShortPath of directories.h.
#include "platform/short_path.h"

#include <windows.h>

namespace {
// The buffer holds max(MAX_PATH, twice the path's length) bytes: room for any short form.
constexpr int kMinShortPathBuffer = MAX_PATH;
// No path the system accepts is longer, not even in the "\\?\" form.
constexpr int kLongestSystemPath = 32767;
}  // namespace

String ShortPath(const String& path) {
  if (path.IsEmpty()) return String();
  if (path.Length() > kLongestSystemPath) return path;
  int size = path.Length() > kMinShortPathBuffer / 2 ? 2 * path.Length() : kMinShortPathBuffer;
  String shortened;
  shortened.Resize(size);
  DWORD n = GetShortPathNameA(path.CStr(), shortened.Data(), DWORD(size));
  if (n == 0 || n >= DWORD(size)) return path;
  shortened.Resize(int(n));
  return shortened;
}
