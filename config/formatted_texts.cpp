#include "config/formatted_texts.h"

namespace {

// Ordered by id. The arguments each caller passes are listed beside its conversions.
constexpr FormattedTextId kFormattedTexts[] = {
    // the uninstaller's closing box: the collected error text
    {10, "%s", "Some parts could not be removed:\r\n\r\n%s"},
    // the master product's name
    {12, "%s", "This package needs %s, which is not installed on this computer."},
    // the corrupt-installer code
    {13, "%d",
     "This installation program is corrupt.  This is usually caused by a faulty download, but it "
     "can also be caused by a virus on your computer.  The installation cannot proceed.\r\n\r\n"
     "Delete the corrupted installer (to prevent caching), then re-download it.  If the problem "
     "persists, check your system for viruses.\r\n\r\nError code: %d"},
    // the drive letter of a missing drive
    {16, "%c", "Drive %c: cannot be used. Choose a folder on another drive."},
    {17, "", "Please choose a folder, not the root of a drive."},
    // the Program Files directory
    {18, "%s", "Please choose a folder inside %s, not that folder itself."},
    // space needed, drive letter, space free
    {19, "%s%c%s",
     "The installation needs %s on drive %c:, but only %s is free.\r\n\r\nInstall anyway?"},
    // the directory
    {22, "%s", "The folder %s already exists. Install into it anyway?"},
    {23, "%s", "The folder %s does not exist yet. Create it?"},
    // volume number, drive letter
    {26, "%d%c", "Please insert disk %d into drive %c: and click OK."},
    // the target's file name
    {38, "%s", "%s"},
    // the installation log's path
    {40, "%s", "The installation is complete.\r\n\r\nThe installation log is %s\r\n\r\nView it now?"},
    // a font's title
    {56, "%s", "Remove the font %s?"},
    // a shared file
    {59, "%s", "No other program seems to use the shared file %s any more. Remove it?"},
    // the operating system's version text
    {61, "%s", "This program cannot be installed on %s."},
    {66, "", "Network folders cannot be used. Please choose a folder on a local drive."},
};

}  // namespace

const FormattedTextId* FindFormattedText(int id) {
  for (const FormattedTextId& entry : kFormattedTexts) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}
