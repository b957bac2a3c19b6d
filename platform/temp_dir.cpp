#include "platform/temp_dir.h"

#include <windows.h>

String DefaultTempDir() {
  String dir;
  DWORD needed = GetTempPathA(0, nullptr);
  if (needed > 0) {
    // The reported length includes the terminator; one byte more guards against a path that
    // changes length between the two calls.
    dir.Resize(int(needed) + 1);
    DWORD got = GetTempPathA(needed + 1, dir.Data());
    dir.Resize(got <= needed ? int(got) : 0);
  }
  dir.RemoveLastIf('\\');
  if (dir.IsEmpty()) dir = "c:\\temp";
  return dir;
}
