// Optional system functions, shell change notifications and the font-change broadcast.
#include "platform/shell.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

#include "core/vector.h"

namespace {

// Modules loaded for optional functions. They stay loaded while their functions may be
// called, that is until the process ends, when the exit handler frees them.
Vector<void*> loadedModules;

void FreeLoadedModules() {
  for (int i = 0; i < loadedModules.Count(); ++i)
    FreeLibrary(static_cast<HMODULE>(loadedModules[i]));
  loadedModules.RemoveAll();
}

void KeepLoaded(HMODULE module) {
  static bool exitHandlerRegistered = false;
  if (!exitHandlerRegistered) {
    exitHandlerRegistered = true;
    std::atexit(FreeLoadedModules);
  }
  loadedModules.Append(static_cast<void*>(module));
}

SystemFunction FindFunction(HMODULE module, const char* name) {
  return reinterpret_cast<SystemFunction>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

using ShChangeNotifyFunction = void(WINAPI*)(LONG event, UINT flags, LPCVOID item1, LPCVOID item2);

constexpr const char* kShellLibrary = "shell32.dll";
const char* shellNotifyLibrary = kShellLibrary;
bool shellNotifyTried = false;
ShChangeNotifyFunction shellNotify = nullptr;

// SHChangeNotify, looked up once; null where the shell lacks it.
ShChangeNotifyFunction ShellNotify() {
  if (!shellNotifyTried) {
    shellNotifyTried = true;
    LoadFunctionAs(shellNotifyLibrary, "SHChangeNotify", &shellNotify);
  }
  return shellNotify;
}

}  // namespace

bool LoadFunction(const char* library, const char* function, SystemFunction* slot) {
  *slot = nullptr;
  HMODULE module = LoadLibraryA(library);
  if (module == nullptr) return false;
  *slot = FindFunction(module, function);
  if (*slot == nullptr) {
    FreeLibrary(module);
    return false;
  }
  KeepLoaded(module);
  return true;
}

bool LoadFunctionTable(const char* library, const FunctionTableEntry* table) {
  HMODULE module = LoadLibraryA(library);
  if (module == nullptr) return false;
  bool allRequiredFound = true;
  for (const FunctionTableEntry* entry = table; entry->slot != nullptr; ++entry) {
    *entry->slot = FindFunction(module, entry->name);
    if (*entry->slot == nullptr && !entry->optional) allRequiredFound = false;
  }
  KeepLoaded(module);
  return allRequiredFound;
}

bool NotifyAssociationsChanged() {
  ShChangeNotifyFunction notify = ShellNotify();
  if (notify == nullptr) return false;
  notify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  return true;
}

bool NotifyFolderUpdated(const String& folder) {
  if (folder.IsEmpty()) return false;
  ShChangeNotifyFunction notify = ShellNotify();
  if (notify == nullptr) return false;
  notify(SHCNE_UPDATEDIR, SHCNF_PATHA, folder.CStr(), nullptr);
  return true;
}

void BroadcastFontChange() { SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0); }

#ifdef QUORVEX_TEST_SEAM
void SetShellNotifyLibraryForTesting(const char* library) {
  shellNotifyLibrary = library != nullptr ? library : kShellLibrary;
  shellNotifyTried = false;
  shellNotify = nullptr;
}
#endif
