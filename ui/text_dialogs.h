// The licence and read-me dialogs ("LicenseDlg", "ReadmeDlg"): a prompt over a read-only text
// and two buttons, and the run of them that precedes the directory question.
#pragma once

#include <windows.h>

#include "core/string.h"
#include "core/vector.h"

// Dialog procedures. The creation parameter (LPARAM of WM_INITDIALOG) is the text to show, a
// NUL-terminated char pointer. WM_INITDIALOG puts in the text, the prompt, the captions of the
// buttons and of the dialog in the current language, then centres the dialog. A command
// whose low word is 1001 or 1003 ends the dialog with that id; anything else gives FALSE.
INT_PTR CALLBACK LicenseDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ReadmeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog with text, owned by the background window: 1001 when the user accepted,
// 1003 when he declined, and -1 when the dialog cannot be created. Only 1001 agrees.
INT_PTR RunLicenseDialog(const String& text);
INT_PTR RunReadmeDialog(const String& text);

// "<product>" becomes ProductName and "<os>" the Windows directory, everywhere and in any
// letter case.
String WithProductAndOs(const String& text);

// Unless AutomaticMode is set: one licence dialog for every non-blank text of string 63 and
// then licenseTexts, in order, and one read-me dialog for every non-blank text of string 64
// and then readmeTexts, each text passed through WithProductAndOs. Anything but agreement ends
// the program (ExitInstaller).
void ShowLicenseAndReadmeTexts(const Vector<String>& licenseTexts,
                               const Vector<String>& readmeTexts);
