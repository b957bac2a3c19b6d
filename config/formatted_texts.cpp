#include "config/formatted_texts.h"

namespace {

// Ordered by id. The arguments each caller passes are listed beside its conversions.
constexpr FormattedTextId kFormattedTexts[] = {
    // the uninstaller's closing box: the collected error text
    {StringId::kUninstallErrors, "%s", "Some parts could not be removed:\r\n\r\n%s"},
    // the master product's name
    {StringId::kMasterProductMissing, "%s",
     "This package needs %s, which is not installed on this computer."},
    // the corrupt-installer code
    {StringId::kCorruptInstaller, "%d",
     "This installation program is corrupt.  This is usually caused by a faulty download, but it "
     "can also be caused by a virus on your computer.  The installation cannot proceed.\r\n\r\n"
     "Delete the corrupted installer (to prevent caching), then re-download it.  If the problem "
     "persists, check your system for viruses.\r\n\r\nError code: %d"},
    // the drive letter of a missing drive
    {StringId::kDriveUnavailable, "%c",
     "Drive %c: cannot be used. Choose a folder on another drive."},
    {StringId::kDriveRootRefused, "", "Please choose a folder, not the root of a drive."},
    // the Program Files directory
    {StringId::kProgramFilesRefused, "%s",
     "Please choose a folder inside %s, not that folder itself."},
    // space needed, drive letter, space free
    {StringId::kLowDiskSpace, "%s%c%s",
     "The installation needs %s on drive %c:, but only %s is free.\r\n\r\nInstall anyway?"},
    // the directory
    {StringId::kConfirmExistingDir, "%s", "The folder %s already exists. Install into it anyway?"},
    {StringId::kConfirmNewDir, "%s", "The folder %s does not exist yet. Create it?"},
    // volume number, drive letter
    {StringId::kInsertVolume, "%d%c", "Please insert disk %d into drive %c: and click OK."},
    // the target's file name
    {StringId::kDefaultShortcutName, "%s", "%s"},
    // the installation log's path
    {StringId::kLogQuestion, "%s",
     "The installation is complete.\r\n\r\nThe installation log is %s\r\n\r\nView it now?"},
    // a font's title
    {StringId::kFontQuestion, "%s", "Remove the font %s?"},
    // a shared file
    {StringId::kSharedFileQuestion, "%s",
     "No other program seems to use the shared file %s any more. Remove it?"},
    // the operating system's version text
    {StringId::kUnsupportedSystem, "%s", "This program cannot be installed on %s."},
    {StringId::kNetworkPathRefused, "",
     "Network folders cannot be used. Please choose a folder on a local drive."},
};

}  // namespace

const FormattedTextId* FindFormattedText(StringId id) {
  for (const FormattedTextId& entry : kFormattedTexts) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}
