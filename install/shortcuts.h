// The shortcuts an installation makes: those its files asked for and the uninstaller's own.
#pragma once

// Set as soon as a request for a desktop shortcut is met, made or not: the end of the
// installation then tells the shell that the desktop changed.
extern bool DesktopShortcutRequested;

// Makes every shortcut of ShortcutRequests in list order (after adding the uninstaller's
// desktop shortcut under ProductFlags bits 2 and 33), then the uninstaller's Start-menu (bits 2
// and 1) and UninstallDir (bits 2 and 38) shortcuts. Each shortcut made is recorded for the
// uninstaller unless its request says keep (the uninstaller's are always recorded) and, under
// bit 20, logged in InstallLog; each failure is a line in ErrorSummary and the next shortcut is
// still tried. Ends with the progress bar at 95 and the stage delay.
void CreateShortcuts();
