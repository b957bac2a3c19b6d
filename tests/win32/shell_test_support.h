// Helpers of the shell tests: a window that receives the shell's change notifications, and the
// Shell Folders values read straight from the registry.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace shell_test {

// A window that registers with the shell for change notifications and keeps what arrives:
// each notification as its event and the path of its first item (empty when it has none).
class ShellWatcher {
 public:
  struct Notice {
    LONG event;
    std::string path;
  };

  // Watches folder (null: everything) for the events in mask.
  ShellWatcher(const char* folder, LONG mask) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuorvexShellWatcher";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
    notices_.clear();
    if (folder != nullptr) {
      char path[MAX_PATH] = {};
      lstrcpynA(path, folder, MAX_PATH);
      folderList_ = ILCreateFromPathA(path);
    }
    SHChangeNotifyEntry entry = {folderList_, TRUE};
    registration_ =
        SHChangeNotifyRegister(window_, SHCNRF_ShellLevel, mask, kNoticeMessage, 1, &entry);
  }
  ~ShellWatcher() {
    if (registration_ != 0) SHChangeNotifyDeregister(registration_);
    if (folderList_ != nullptr) ILFree(folderList_);
    DestroyWindow(window_);
  }
  bool Registered() const { return window_ != nullptr && registration_ != 0; }

  // Everything that arrived, once the queue is empty.
  static std::vector<Notice> Notices() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return notices_;
  }

 private:
  static constexpr UINT kNoticeMessage = WM_APP + 7;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == kNoticeMessage) {
      auto items = reinterpret_cast<LPCITEMIDLIST*>(w);
      char path[MAX_PATH] = {};
      if (items != nullptr && items[0] != nullptr) SHGetPathFromIDListA(items[0], path);
      notices_.push_back({LONG(l), path});
      return 0;
    }
    return DefWindowProcA(window, message, w, l);
  }

  HWND window_ = nullptr;
  LPITEMIDLIST folderList_ = nullptr;
  ULONG registration_ = 0;
  static inline std::vector<Notice> notices_;
};

// The folder named by a value of the Explorer's Shell Folders key under root; empty when the
// value is missing.
inline std::string ShellFolderValue(HKEY root, const char* name) {
  char value[MAX_PATH] = {};
  DWORD size = sizeof value - 1;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                    0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return "";
  if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
      ERROR_SUCCESS)
    value[0] = '\0';
  RegCloseKey(key);
  return value;
}

}  // namespace shell_test
