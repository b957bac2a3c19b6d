// Operating-system services beyond files: optional system functions looked up at run time,
// shell shortcuts (.LNK files), shell change notifications, font names in the registry, and
// ending the Windows session. Nothing here shows a message: every failure is a false result.
#pragma once

#include <cstdint>

#include "core/string.h"

// The address of a system function as found by GetProcAddress. Callers cast it to the
// function's real type (a cast through void(*)() keeps -Wcast-function-type quiet).
using SystemFunction = void (*)();

// Loads library and looks up function in it. True when both were found; the module then stays
// loaded until the process ends. Otherwise *slot is null and the result is false (a library
// loaded only for this lookup is freed again). Callers look each function up once per process.
bool LoadFunction(const char* library, const char* function, SystemFunction* slot);

// LoadFunction typed for the caller's function pointer.
template <class Function>
bool LoadFunctionAs(const char* library, const char* function, Function** slot) {
  SystemFunction found = nullptr;
  bool ok = LoadFunction(library, function, &found);
  *slot = reinterpret_cast<Function*>(found);
  return ok;
}

// One entry of a function table; the table ends with an entry whose slot is null.
struct FunctionTableEntry {
  const char* name;
  SystemFunction* slot;
  bool optional;
};

// Loads library and fills every entry's slot (null for a function that is missing). False
// when the library cannot be loaded or a function that is not optional is missing; the
// remaining entries are filled all the same and the library stays loaded in every case.
bool LoadFunctionTable(const char* library, const FunctionTableEntry* table);

// Saves a shell link at link: to target, with the icon of icon (of target when icon is null
// or empty, index 0), arguments and working directory (each set only when non-empty).
// ".LNK" is appended to link (changing the caller's text) unless it already holds ".lnk" in
// any letter case; the link's folder is created with all its parents. COM is initialised and
// uninitialised around the call. True when the link was saved.
bool CreateShortcut(String& link, const char* target, const char* arguments, const char* directory,
                    const char* icon);

// Flags of CreateDesktopShortcut and CreateProgramsShortcut.
namespace ShortcutFlags {
inline constexpr uint32_t kAllUsers = 0x1;
}

// CreateShortcut of name inside the (all users') desktop or start-menu programs folder. name
// may hold subfolders, which are created. outPath, when given, receives the final link path.
bool CreateDesktopShortcut(const char* name, const char* target, const char* arguments,
                           const char* directory, String* outPath, const char* icon,
                           uint32_t flags);
bool CreateProgramsShortcut(const char* name, const char* target, const char* arguments,
                            const char* directory, String* outPath, const char* icon,
                            uint32_t flags);

// Shell change notifications through SHChangeNotify, looked up on first use. False when the
// shell lacks it (and, for NotifyFolderUpdated, for an empty path).
bool NotifyAssociationsChanged();
bool NotifyFolderUpdated(const String& folder);
// NotifyFolderUpdated of the user's or all users' desktop folder.
bool RefreshDesktop(bool allUsers);

// Font display names in the fonts key of HKEY_LOCAL_MACHINE (the NT or the 9x key, by the
// running system's family). Register: true when the value was written. Unregister: true when
// the value was deleted or was not there.
bool RegisterFontName(const char* displayName, const char* fontFile);
bool UnregisterFontName(const char* displayName);

// Tells every top-level window that the set of fonts changed (WM_FONTCHANGE).
void BroadcastFontChange();

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
// Looks SHChangeNotify, or the privilege functions, up again on next use, from library
// instead of the system's (null restores it); a library that does not exist makes them
// missing for real.
void SetShellNotifyLibraryForTesting(const char* library);
void SetPrivilegeLibraryForTesting(const char* library);
#endif
