#include "ui/browse_for_folder.h"

#include <shlobj.h>

#include "config/language_strings.h"
#include "ui/centre_window.h"

namespace {

// Centres the browser and pre-selects the path passed as the callback's data.
int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    CentreWindow(browser);
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
  }
  return 0;
}

// Item lists come from the shell's allocator and go back to it.
void FreeItemLists(LPITEMIDLIST chosen, LPITEMIDLIST root) {
  IMalloc* allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator)) || allocator == nullptr) return;
  if (chosen) allocator->Free(chosen);
  if (root) allocator->Free(root);
  allocator->Release();
}

}  // namespace

bool BrowseForFolder(HWND owner, String& path) {
  LPITEMIDLIST root = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, &root))) return false;

  String prompt = LookupString(StringId::kChooseDirText);
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.pidlRoot = root;
  info.pszDisplayName = nullptr;
  info.lpszTitle = prompt.CStr();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(path.CStr());
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (chosen == nullptr) {
    FreeItemLists(nullptr, root);
    return false;
  }

  char folder[MAX_PATH] = {};
  bool converted = SHGetPathFromIDListA(chosen, folder);
  FreeItemLists(chosen, root);
  if (!converted) return false;
  path = folder;
  return true;
}
