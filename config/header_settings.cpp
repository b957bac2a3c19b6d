// Settings from the archive header: defaults for blank fields and paths made absolute.
#include "config/header_settings.h"

#include "archive/archive_header.h"
#include "config/install_variables.h"
#include "config/settings.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/system_paths.h"

namespace {

// The install sequence puts the master product's directory here.
constexpr char kMasterDirectory[] = "<master>";

String DeriveSharedPath(const ArchiveHeader& header) {
  if (!HasFlag(header.productFlags, ProductFlag::kRegisterUninstall)) return String();
  String path = header.sharedPath;
  if (path.IsEmpty()) path = header.publisher.IsBlank() ? ProductName : header.publisher;
  MakeAbsolute(path, CommonFilesDir().CStr());
  return path;
}

String DeriveStartMenu(const ArchiveHeader& header) {
  if (!header.productStartMenu.IsEmpty()) return header.productStartMenu;
  if (header.publisher.IsEmpty()) return ProductName;
  return header.publisher + "\\" + ProductName;
}

String DeriveInstallDir(const ArchiveHeader& header) {
  String dir = header.defaultInstallDir;
  if (dir.IsEmpty()) {
    dir = ProductName;
  } else {
    dir.Replace("<os>", WindowsDir().CStr(), String::kIgnoreCase);
    ExpandInstallVariables(dir);
  }
  if (dir.Compare(kMasterDirectory, false) != 0) MakeAbsolute(dir, ProgramFilesDir().CStr());
  return dir;
}

void DeriveColours(const ArchiveHeader& header) {
  if (HasFlag(header.productFlags, ProductFlag::kCustomColours)) {
    TitleColor = header.titleColor;
    TopColor = header.topColor;
    BottomColor = header.bottomColor;
    if (TopColor != BottomColor) MonoColor = false;
  } else if (!header.backgroundBitmap.IsEmpty()) {
    TitleColor = header.titleColor;
  }
}

}  // namespace

void ApplyHeaderSettings(const ArchiveHeader& header) {
  if (ProductName.IsEmpty()) ProductName = header.productName;
  SharedPath = DeriveSharedPath(header);
  ProductStartMenu = DeriveStartMenu(header);
  DefaultInstallDir = DeriveInstallDir(header);
  UninstallKeyName = header.uninstallKeyName.IsBlank() ? ProductName : header.uninstallKeyName;
  DisplayVersion = header.displayVersion;
  UninstallSubdir = header.uninstallSubdir;
  DeriveColours(header);
  TitleShadow = header.titleShadow;
}
