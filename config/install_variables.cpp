#include "config/install_variables.h"

#include "config/settings.h"
#include "config/variable_substitution.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/system_paths.h"

namespace {

String BootDriveText() { return DriveText(BootDrive()); }
String InstallDirText() { return InstallDir; }
// Empty for an install directory without a drive letter (a UNC path).
String InstallDriveText() { return DriveText(DriveLetterOf(InstallDir)); }
String SharedDirText() { return SharedPath; }
String InstallerDirText() { return InstallerDir(); }
// The letter alone, without a colon, so that texts write "%InstallerDrive%:\...".
String InstallerDriveText() {
  char letter = InstallerDrive();
  return letter != 0 ? String(letter) : String();
}
String InstallerFilenameText() { return InstallerFilename(); }
String InstallerFilepathText() { return InstallerFilepath(); }
String TempDirText() { return TempDir(); }
String WindowsDirText() { return WindowsDir(); }

// The order is part of the behaviour: a value is scanned only for the variables after it.
const InstallVariable kInstallVariables[] = {
    {"%BootDrive%", BootDriveText},
    {"%CommonDir%", CommonFilesDir},
    {"%InstallDir%", InstallDirText},
    {"%InstallDrive%", InstallDriveText},
    {"%ProgramsDir%", ProgramFilesDir},
    {"%SharedDir%", SharedDirText},
    {"%SystemDir%", SystemDir},
    {"%InstallerDir%", InstallerDirText},
    {"%InstallerDrive%", InstallerDriveText},
    {"%InstallerFilename%", InstallerFilenameText},
    {"%InstallerFilepath%", InstallerFilepathText},
    {"%DeviceDir%", DevicePath},
    {"%MediaDir%", MediaPath},
    {"%FavoritesDir%", FavoritesDir},
    {"%FavoritesAllDir%", FavoritesAllDir},
    {"%FontDir%", FontDir},
    {"%DesktopDir%", DesktopDir},
    {"%DesktopAllDir%", DesktopAllDir},
    {"%DocumentDir%", DocumentDir},
    {"%DocumentAllDir%", DocumentAllDir},
    {"%StartMenuDir%", StartMenuDir},
    {"%StartMenuAllDir%", StartMenuAllDir},
    {"%SMProgramsDir%", StartMenuProgramsDir},
    {"%SMProgramsAllDir%", StartMenuProgramsAllDir},
    {"%StartupDir%", StartupDir},
    {"%StartupAllDir%", StartupAllDir},
    {"%Temp%", TempDirText},
    {"%WinDir%", WindowsDirText},
};
static_assert(sizeof kInstallVariables / sizeof kInstallVariables[0] == 28,
              "every install variable has its place in the order");

}  // namespace

void ExpandInstallVariables(String& text) {
  SubstituteInstallVariables(text, kInstallVariables,
                             int(sizeof kInstallVariables / sizeof kInstallVariables[0]));
}
