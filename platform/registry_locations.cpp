// The registry-backed getters of system_paths.h: shell folders, the CurrentVersion values, the
// boot drive and the lookup of installed products.
#include "platform/registry_locations.h"

#include <windows.h>

#include "platform/environment.h"
#include "platform/path_text.h"
#include "platform/registry.h"
#include "platform/system_paths.h"

namespace {

// The text of the value named by the part of path after its last backslash, in the key named
// by the part before it, opened for reading only (a limited user reads HKEY_LOCAL_MACHINE
// too, and a missing key stays missing); the text is empty when there is no such value.
String ReadPathValue(HKEY root, const String& path) {
  Registry registry;
  return registry.ReadPathValue(root, path.CStr(), "", 0);
}

// A directory as the registry gives it: the text up to its first NUL (REG_EXPAND_SZ data keeps
// its terminator), without one trailing backslash unless it is a drive root such as "C:\".
String DirectoryText(String text) {
  text.TruncateAtChar('\0');
  if (text.Length() > 3) text.RemoveLastIf('\\');
  return text;
}

String WithFallback(String value, const String& fallback) {
  return value.IsEmpty() ? fallback : value;
}

String UserFolder(const char* valueName, const char* fallbackLeaf) {
  return WithFallback(ShellFolder(valueName, false), JoinPath(WindowsDir(), fallbackLeaf));
}

String AllUsersFolder(const char* valueName, String (*userFolder)()) {
  String folder = ShellFolder(valueName, true);
  return folder.IsEmpty() ? userFolder() : folder;
}

}  // namespace

String ShellFolder(const char* valueName, bool allUsers) {
  String path = String::Formatted(
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\%s",
      valueName != nullptr ? valueName : "");
  return DirectoryText(ReadPathValue(allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, path));
}

String CurrentVersionValue(const char* valueName) {
  String path = String::Formatted("Software\\Microsoft\\Windows\\CurrentVersion\\%s",
                                  valueName != nullptr ? valueName : "");
  return DirectoryText(ReadPathValue(HKEY_LOCAL_MACHINE, path));
}

char BootDrive() {
  String bootDir = ReadPathValue(HKEY_LOCAL_MACHINE,
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\BootDir");
  char letter = DriveLetterOf(bootDir);
  return letter != 0 ? letter : 'C';
}

String ProgramFilesDir() {
  return WithFallback(CurrentVersionValue("ProgramFilesDir"), "c:\\Program Files");
}

String CommonFilesDir() {
  String dir = CurrentVersionValue("CommonFilesDir");
  return dir.IsEmpty() ? JoinPath(ProgramFilesDir(), "Common Files") : dir;
}

String MediaPath() {
  return WithFallback(CurrentVersionValue("MediaPath"), JoinPath(WindowsDir(), "Media"));
}

String DevicePath() {
  String path = CurrentVersionValue("DevicePath");
  if (path.IsEmpty()) return JoinPath(WindowsDir(), "INF");
  static const char kSystemRoot[] = "%SystemRoot%";
  int at = path.Find(kSystemRoot, 0, String::kIgnoreCase);
  if (at < 0) return path;
  String systemRoot(kSystemRoot);
  if (ExpandEnvironment(systemRoot) && !systemRoot.IsEmpty())
    path.ReplaceRange(at, int(sizeof kSystemRoot) - 1, systemRoot.CStr(), systemRoot.Length());
  return path;
}

String DesktopDir() { return UserFolder("Desktop", "Desktop"); }
String DesktopAllDir() { return AllUsersFolder("Common Desktop", DesktopDir); }
String DocumentDir() { return WithFallback(ShellFolder("Personal", false), "c:\\My Documents"); }
String DocumentAllDir() { return AllUsersFolder("Common Documents", DocumentDir); }
String FavoritesDir() { return UserFolder("Favorites", "Favorites"); }
String FavoritesAllDir() { return AllUsersFolder("Common Favorites", FavoritesDir); }
String FontDir() { return UserFolder("Fonts", "Fonts"); }
String StartMenuDir() { return UserFolder("Start Menu", "Start Menu"); }
String StartMenuAllDir() { return AllUsersFolder("Common Start Menu", StartMenuDir); }

String StartMenuProgramsDir() {
  String dir = ShellFolder("Programs", false);
  return dir.IsEmpty() ? JoinPath(StartMenuDir(), "Programs") : dir;
}

String StartMenuProgramsAllDir() {
  return AllUsersFolder("Common Programs", StartMenuProgramsDir);
}

String StartupDir() {
  String dir = ShellFolder("Startup", false);
  return dir.IsEmpty() ? JoinPath(StartMenuProgramsDir(), "StartUp") : dir;
}

String StartupAllDir() { return AllUsersFolder("Common Startup", StartupDir); }

bool FindInstalledProduct(const char* name, String* location) {
  String subkey = JoinPath("Microsoft\\Windows\\CurrentVersion\\Uninstall", String(name));
  Registry registry;
  if (registry.OpenSoftware(subkey.CStr(), false, RegReadOnly) == OpenResult::Failed) return false;
  bool installed =
      registry.ValueExists("UninstallString") || registry.ValueExists("QuietUninstallString");
  if (location != nullptr) {
    *location = installed ? registry.ReadString("InstallLocation", "") : String();
    location->TruncateAtChar('\0');
  }
  registry.Close();
  return installed;
}
