#include "install/existing_installation.h"

#include "config/settings.h"
#include "platform/directories.h"
#include "platform/registry.h"

namespace {

constexpr char kUninstallKey[] = "Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

}  // namespace

ExistingInstallation FindExistingInstallation() {
  ExistingInstallation existing;
  Registry key;
  String subkey = String(kUninstallKey) + UninstallKeyName;
  if (key.OpenSoftware(subkey.CStr(), false, RegOpenOnly | RegReadOnly) == OpenResult::Failed)
    return existing;
  existing.location = key.ReadString("InstallLocation", "");
  existing.version = key.ReadString("DisplayVersion", "");
  existing.sharedFiles = key.ReadString("SharedFiles", "");
  key.Close();
  existing.exists = !existing.location.IsEmpty() && DirectoryExists(existing.location);
  return existing;
}
