// The user's and the system's folders as the registry names them, and installed products.
// The getters read the registry at every call (so a change made during the installation is
// seen by later calls) and fall back to a fixed place when the registry gives an empty text:
// each always returns a usable directory, without a trailing backslash unless the registry
// names a drive root such as "C:\".
#pragma once

#include "core/string.h"

// The folder named by valueName under the Explorer's "Shell Folders" key of HKEY_CURRENT_USER,
// or of HKEY_LOCAL_MACHINE for allUsers; empty when the value is missing or empty.
String ShellFolder(const char* valueName, bool allUsers);
// A value under HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion; empty when missing.
// Both read a path: the text ends at its first NUL, and one trailing backslash is removed from a
// result longer than 3 characters (a drive root keeps it).
String CurrentVersionValue(const char* valueName);

// The letter of the Setup key's BootDir value, upper-cased; 'C' when that is not "X:...".
char BootDrive();

// Registry-backed locations, each with its fixed fallback (in parentheses).
String ProgramFilesDir();  // ProgramFilesDir ("c:\Program Files")
String CommonFilesDir();   // CommonFilesDir (ProgramFilesDir()\Common Files)
String MediaPath();        // MediaPath (WindowsDir\Media)
// DevicePath (WindowsDir\INF); the first "%SystemRoot%" in it, in any letter case, is expanded
// from the environment. A list of several folders separated by semicolons comes back whole.
String DevicePath();

// Shell folders. The user's fall back to a place in the Windows directory (documents to
// "c:\My Documents"); the all-users ones fall back to the user's.
String DesktopDir();               // "Desktop" (WindowsDir\Desktop)
String DesktopAllDir();            // "Common Desktop"
String DocumentDir();              // "Personal" ("c:\My Documents")
String DocumentAllDir();           // "Common Documents"
String FavoritesDir();             // "Favorites" (WindowsDir\Favorites)
String FavoritesAllDir();          // "Common Favorites"
String FontDir();                  // "Fonts" (WindowsDir\Fonts)
String StartMenuDir();             // "Start Menu" (WindowsDir\Start Menu)
String StartMenuAllDir();          // "Common Start Menu"
String StartMenuProgramsDir();     // "Programs" (StartMenuDir()\Programs)
String StartMenuProgramsAllDir();  // "Common Programs"
String StartupDir();               // "Startup" (StartMenuProgramsDir()\StartUp)
String StartupAllDir();            // "Common Startup"

// Whether a product called name is registered for removal in HKEY_LOCAL_MACHINE's Uninstall
// key: its key exists and has an "UninstallString" or a "QuietUninstallString" value. When the
// key cannot be opened the result is false and *location is untouched; otherwise location (when
// given) receives the product's "InstallLocation" for an installed product (empty when it has
// none) and is emptied for a key that does not count as installed.
bool FindInstalledProduct(const char* name, String* location);
