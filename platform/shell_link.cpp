// Shell links (.LNK files) through the shell's own link object.
#include "platform/shell_link.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/directories.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/shell.h"

namespace {

// Owns one COM interface pointer; releases it when it goes.
template <class Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  void** Out() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// CoInitialize for the life of one call; uninitialised only when the initialisation succeeded.
class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool Ok() const { return ok_; }

 private:
  bool ok_;
};

bool IsBlank(const char* text) { return text == nullptr || *text == '\0'; }

// Fills the link object; the icon falls back to the target itself.
void DescribeLink(IShellLinkA* link, const char* target, const char* arguments,
                  const char* directory, const char* icon) {
  link->SetPath(target != nullptr ? target : "");
  link->SetIconLocation(IsBlank(icon) ? (target != nullptr ? target : "") : icon, 0);
  if (!IsBlank(arguments)) link->SetArguments(arguments);
  if (!IsBlank(directory)) link->SetWorkingDirectory(directory);
}

// The shell's save takes the name as UTF-16 in a path-sized buffer; false when the name does
// not fit (the buffer keeps a terminator in every case).
bool SaveLink(IPersistFile* file, const String& path) {
  WCHAR wide[MAX_PATH + 1] = {};
  if (MultiByteToWideChar(CP_ACP, 0, path.CStr(), -1, wide, MAX_PATH) == 0) return false;
  return file->Save(wide, TRUE) == S_OK;
}

bool CreateShortcutIn(const String& folder, const char* name, const char* target,
                      const char* arguments, const char* directory, String* outPath,
                      const char* icon) {
  String link = JoinPath(folder, String(name));
  bool saved = CreateShortcut(link, target, arguments, directory, icon);
  if (outPath != nullptr) *outPath = link;
  return saved;
}

}  // namespace

bool CreateShortcut(String& link, const char* target, const char* arguments, const char* directory,
                    const char* icon) {
  // Declared first, so that the interfaces below are released before COM is uninitialised.
  ComScope com;
  if (!com.Ok()) return false;
  ComRef<IShellLinkA> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              shellLink.Out())))
    return false;
  DescribeLink(shellLink.Get(), target, arguments, directory, icon);
  ComRef<IPersistFile> file;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.Out()))) return false;

  if (link.Find(".LNK", 0, String::kIgnoreCase) < 0) link.Append(".LNK");
  CreateDirectoryPath(DirectoryPart(link));
  return SaveLink(file.Get(), link);
}

bool CreateDesktopShortcut(const char* name, const char* target, const char* arguments,
                           const char* directory, String* outPath, const char* icon,
                           uint32_t flags) {
  bool allUsers = (flags & ShortcutFlags::kAllUsers) != 0;
  return CreateShortcutIn(allUsers ? DesktopAllDir() : DesktopDir(), name, target, arguments,
                          directory, outPath, icon);
}

bool CreateProgramsShortcut(const char* name, const char* target, const char* arguments,
                            const char* directory, String* outPath, const char* icon,
                            uint32_t flags) {
  bool allUsers = (flags & ShortcutFlags::kAllUsers) != 0;
  return CreateShortcutIn(allUsers ? StartMenuProgramsAllDir() : StartMenuProgramsDir(), name,
                          target, arguments, directory, outPath, icon);
}

bool RefreshDesktop(bool allUsers) {
  return NotifyFolderUpdated(allUsers ? DesktopAllDir() : DesktopDir());
}
