// Ending the Windows session, and the privileges it needs.
#pragma once

// Kinds of RestartSystem.
namespace RestartKind {
inline constexpr int kShutDown = 0;  // also every kind not listed here
inline constexpr int kPowerOff = 1;
inline constexpr int kReboot = 2;
inline constexpr int kLogOff = 3;
}  // namespace RestartKind

// Asks Windows to end the session: EWX_FORCE when force is set, else EWX_FORCEIFHUNG, plus the
// kind's own flag. The shutdown privilege is enabled around the request where the system has
// privileges at all. True when ExitWindowsEx accepted the request.
bool RestartSystem(int kind, bool force);

// Enables the named privilege in the process token; disabling turns off every privilege of the
// token. Does nothing where the privilege functions are missing (the 9x family).
void SetPrivilege(const char* name, bool enable);

#ifdef QUORVEX_TEST_SEAM
// Test builds only. The session is never ended by a test: the call RestartSystem makes goes
// to this function instead (null restores ExitWindowsEx).
using ExitWindowsFunction = int(__stdcall*)(unsigned flags, unsigned long reason);
void SetExitWindowsForTesting(ExitWindowsFunction function);
// Looks the privilege functions up again on next use, from library instead of the system's
// (null restores them); a library that does not exist makes them missing for real.
void SetPrivilegeLibraryForTesting(const char* library);
#endif
