#include "platform/canonical_path.h"

#include <windows.h>

#include "platform/shell.h"

namespace {

// Missing from Windows 95 and NT 4, which then compare the full path as it stands.
using GetLongPathNameFunction = DWORD WINAPI(LPCSTR, LPSTR, DWORD);

GetLongPathNameFunction* LongPathFunction() {
  static bool lookedUp = false;
  static GetLongPathNameFunction* function = nullptr;
  if (!lookedUp) {
    lookedUp = true;
    LoadFunctionAs("kernel32.dll", "GetLongPathNameA", &function);
  }
  return function;
}

// Calls a system function that fills a text buffer of a given size and answers the length it
// wrote, or the size it needs when the buffer was too small; false when it answers 0.
template <class Call>
bool FillFromSystem(String& out, Call call) {
  DWORD size = MAX_PATH;
  for (int attempt = 0; attempt < 2; ++attempt) {
    out.Resize(int(size));
    DWORD n = call(out.Data(), size);
    if (n == 0) return false;
    if (n < size) {
      out.Resize(int(n));
      return true;
    }
    size = n + 1;
  }
  return false;
}

}  // namespace

String CanonicalPath(const String& path) {
  if (path.IsEmpty()) return String();
  String text = path;
  text.ReplaceChar('/', '\\');
  String full;
  if (FillFromSystem(full, [&](char* buffer, DWORD size) {
        char* namePart = nullptr;
        return GetFullPathNameA(text.CStr(), size, buffer, &namePart);
      })) {
    text = full;
  }
  if (GetLongPathNameFunction* longPath = LongPathFunction()) {
    String expanded;
    if (FillFromSystem(expanded, [&](char* buffer, DWORD size) {
          return longPath(text.CStr(), buffer, size);
        })) {
      text = expanded;
    }
  }
  // "C:\" keeps its backslash: "C:" alone would name the drive's current directory.
  while (text.Length() > 3 && text.EndsWithChar('\\')) text.RemoveLast(1);
  return text;
}

bool IsRootPath(const String& canonical) {
  int length = canonical.Length();
  if (length >= 2 && canonical.CharAt(1) == ':') {
    return length == 2 || (length == 3 && canonical.CharAt(2) == '\\');
  }
  if (!canonical.StartsWith("\\\\")) return false;
  // \\server\share: at most one backslash after the server's name, and nothing after it.
  int afterServer = canonical.FindChar('\\', 2);
  if (afterServer < 0) return true;
  int afterShare = canonical.FindChar('\\', afterServer + 1);
  return afterShare < 0 || afterShare == length - 1;
}
