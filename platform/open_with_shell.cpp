// OpenWithShell of directories.h.
#include "platform/open_with_shell.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "platform/system_paths.h"

bool OpenWithShell(const String& path) {
  HINSTANCE result =
      ShellExecuteA(nullptr, nullptr, path.CStr(), nullptr, InstallerDir().CStr(), SW_SHOW);
  // Values up to 32 are error codes; anything above means the shell started something.
  return reinterpret_cast<uintptr_t>(result) > 32;
}
