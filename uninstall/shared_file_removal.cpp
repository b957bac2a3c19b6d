#include "uninstall/shared_file_removal.h"

#include <windows.h>

#include <objbase.h>

#include "platform/deferred_replace.h"
#include "platform/file_attributes.h"
#include "platform/registry.h"
#include "uninstall/keep_question.h"

namespace {

// LoadLibraryA's results below this are error codes of the 16-bit era, not modules.
constexpr uintptr_t kFirstModuleHandle = 32;
constexpr char kRegistryError[] =
    "REGISTRY ERROR:  Unable to adjust shared file reference counts.\r\n\r\n";

struct SharedItem {
  String path;
  bool comServer = false;  // marked "^"
  bool keepFile = false;   // marked with a blank
};

// The next item of rest, taken off it with the ";" after it; an empty path ends the list.
SharedItem TakeSharedItem(String& rest) {
  SharedItem item;
  item.path = rest.TakeQuoted();
  item.comServer = item.path.RemoveLastIf('^');
  item.keepFile = item.path.RemoveLastIf(' ');
  rest.RemoveFirstIf(';');
  return item;
}

void UnregisterComServer(const String& path) {
  using Unregister = HRESULT(STDAPICALLTYPE*)();
  CoInitialize(nullptr);
  HMODULE module = LoadLibraryA(path.CStr());
  if (reinterpret_cast<uintptr_t>(module) >= kFirstModuleHandle) {
    auto unregister = reinterpret_cast<Unregister>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "DllUnregisterServer")));
    if (unregister != nullptr) unregister();
    FreeLibrary(module);
  }
  CoUninitialize();
}

}  // namespace

void RemoveSharedFiles(const String& sharedFiles, bool askEach, String& errors) {
  Registry counts;
  if (counts.OpenSoftware(kSharedDllsKey, false) == OpenResult::Failed) {
    errors += kRegistryError;
    return;
  }
  String rest = sharedFiles;
  for (;;) {
    SharedItem item = TakeSharedItem(rest);
    if (item.path.IsEmpty()) break;
    int count = counts.ReadInt(item.path.CStr(), 0);
    if (count > 0) {
      --count;
      counts.SetDword(item.path.CStr(), uint32_t(count), RegDeleteIfEmpty);
      if (count > 0) continue;
    }
    if (item.keepFile) continue;
    if (item.comServer) UnregisterComServer(item.path);
    if (!FileExists(item.path) || KeepAfterQuestion(StringId::kSharedFileQuestion,
                                                    StringId::kSharedFileTitle, item.path, askEach))
      continue;
    DeleteFileOrSchedule(item.path.CStr(), 0);
  }
  counts.Close();
}
