// Ending the Windows session, with the shutdown privilege enabled around the request.
#include "platform/shell_session.h"

#include <windows.h>

#include "platform/shell.h"

namespace {

using OpenProcessTokenFunction = BOOL(WINAPI*)(HANDLE process, DWORD access, HANDLE* token);
using LookupPrivilegeValueFunction = BOOL(WINAPI*)(const char* system, const char* name,
                                                   LUID* luid);
using AdjustTokenPrivilegesFunction = BOOL(WINAPI*)(HANDLE token, BOOL disableAll,
                                                    TOKEN_PRIVILEGES* state, DWORD stateSize,
                                                    TOKEN_PRIVILEGES* previous,
                                                    DWORD* previousSize);

// The privilege functions, looked up once. The 9x family has no privileges: there they are
// missing and SetPrivilege does nothing.
struct PrivilegeFunctions {
  bool tried = false;
  SystemFunction openProcessToken = nullptr;
  SystemFunction lookupPrivilegeValue = nullptr;
  SystemFunction adjustTokenPrivileges = nullptr;

  bool Available() const {
    return openProcessToken != nullptr && lookupPrivilegeValue != nullptr &&
           adjustTokenPrivileges != nullptr;
  }
};

constexpr const char* kPrivilegeLibrary = "advapi32.dll";
constexpr const char* kShutdownPrivilege = "SeShutdownPrivilege";
const char* privilegeLibrary = kPrivilegeLibrary;
PrivilegeFunctions privileges;

const PrivilegeFunctions& Privileges() {
  if (!privileges.tried) {
    privileges.tried = true;
    const FunctionTableEntry table[] = {
        {"OpenProcessToken", &privileges.openProcessToken, true},
        {"LookupPrivilegeValueA", &privileges.lookupPrivilegeValue, true},
        {"AdjustTokenPrivileges", &privileges.adjustTokenPrivileges, true},
        {nullptr, nullptr, false},
    };
    LoadFunctionTable(privilegeLibrary, table);
  }
  return privileges;
}

#ifdef QUORVEX_TEST_SEAM
ExitWindowsFunction exitWindows = nullptr;

BOOL CallExitWindows(UINT flags, DWORD reason) {
  if (exitWindows != nullptr) return exitWindows(flags, reason);
  return ExitWindowsEx(flags, reason);
}
#else
BOOL CallExitWindows(UINT flags, DWORD reason) { return ExitWindowsEx(flags, reason); }
#endif

UINT ExitWindowsFlags(int kind, bool force) {
  UINT flags = force ? EWX_FORCE : EWX_FORCEIFHUNG;
  switch (kind) {
    case RestartKind::kPowerOff: return flags | EWX_POWEROFF;
    case RestartKind::kReboot: return flags | EWX_REBOOT;
    case RestartKind::kLogOff: return flags;  // EWX_LOGOFF is 0
    default: return flags | EWX_SHUTDOWN;
  }
}

}  // namespace

void SetPrivilege(const char* name, bool enable) {
  const PrivilegeFunctions& functions = Privileges();
  if (!functions.Available()) return;
  auto openProcessToken = reinterpret_cast<OpenProcessTokenFunction>(functions.openProcessToken);
  auto lookupPrivilegeValue =
      reinterpret_cast<LookupPrivilegeValueFunction>(functions.lookupPrivilegeValue);
  auto adjustTokenPrivileges =
      reinterpret_cast<AdjustTokenPrivilegesFunction>(functions.adjustTokenPrivileges);

  HANDLE token = nullptr;
  if (!openProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES state = {};
  if (lookupPrivilegeValue(nullptr, name, &state.Privileges[0].Luid)) {
    state.PrivilegeCount = 1;
    state.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // Disabling does not restore the token's earlier state: it turns every privilege off.
    adjustTokenPrivileges(token, enable ? FALSE : TRUE, &state, 0, nullptr, nullptr);
  }
  CloseHandle(token);
}

bool RestartSystem(int kind, bool force) {
  UINT flags = ExitWindowsFlags(kind, force);
  SetPrivilege(kShutdownPrivilege, true);
  BOOL accepted = CallExitWindows(flags, 0);
  SetPrivilege(kShutdownPrivilege, false);
  return accepted != FALSE;
}

#ifdef QUORVEX_TEST_SEAM
void SetExitWindowsForTesting(ExitWindowsFunction function) { exitWindows = function; }

void SetPrivilegeLibraryForTesting(const char* library) {
  privilegeLibrary = library != nullptr ? library : kPrivilegeLibrary;
  privileges = PrivilegeFunctions();
}
#endif
