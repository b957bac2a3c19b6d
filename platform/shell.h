// Operating-system services beyond files: optional system functions looked up at run time and
// shell change notifications. Nothing here shows a message: every failure is a false result.
#pragma once

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

// Shell change notifications through SHChangeNotify, looked up on first use. False when the
// shell lacks it (and, for NotifyFolderUpdated, for an empty path).
bool NotifyAssociationsChanged();
bool NotifyFolderUpdated(const String& folder);

// Tells every top-level window that the set of fonts changed (WM_FONTCHANGE).
void BroadcastFontChange();

#ifdef QUORVEX_TEST_SEAM
// Test builds only. Looks SHChangeNotify up again on next use, from library instead of the
// system's (null restores it); a library that does not exist makes it missing for real.
void SetShellNotifyLibraryForTesting(const char* library);
#endif
