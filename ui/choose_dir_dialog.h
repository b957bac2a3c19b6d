// The directory dialog ("ChooseDirDlg"): a prompt, the installation directory in an edit field,
// a button that opens the folder browser, OK and Cancel.
#pragma once

#include <windows.h>

// The dialog procedure. WM_INITDIALOG centres the dialog, puts in the texts of the current
// language and InstallDir, and limits the field to 259 characters. The OK button (a command
// whose whole WPARAM is 1001) stores the field's text in InstallDir and ends with 1; Cancel
// (1003) ends with 0; the browse button (1013) offers the field's text to the folder browser
// and takes back what the user chose. Every other message gives FALSE.
INT_PTR CALLBACK ChooseDirDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog, owned by the background window. False only when the user cancelled; a
// dialog that cannot be created counts as OK with InstallDir unchanged.
bool ShowChooseDirDialog();
