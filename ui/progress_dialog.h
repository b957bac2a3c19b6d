// The modeless progress dialog: the operation's title line, a bar from 0 to 100, the current
// step's text and a Cancel button. It exists from the start of the file work to its end and,
// while it exists, owns the message boxes (ProgressWindow in ui/windows.h).
//
// Every operation that pumps messages may run the Cancel button's question and, on Yes, end the
// process before it returns: nothing after such a call may assume the windows still exist.
#pragma once

#include <windows.h>

#include "core/string.h"

// The bar laid over the dialog's placeholder frame; null while there is no dialog.
extern HWND ProgressBar;

// Creates the dialog ("ProgressDlg" of InstanceHandle) owned by the background window, stores
// it in ProgressWindow and puts the install or uninstall texts on it. The template shows it.
// Nothing is stored when the dialog cannot be created.
void CreateProgressDialog();

// Destroys the dialog if it exists and forgets it and its bar.
void DestroyProgressDialog();

// Shows text as the current step and repaints the dialog at once, then pumps messages.
// Returns the pump's result (true: a closing message was dispatched).
bool SetProgressStatus(const String& text);

// Moves the bar to position (0..100) when there is one, then pumps; returns the pump's result.
bool SetProgressPosition(int position);

// Asks whether to cancel (owned by MessageOwner); Yes ends the process through ExitInstaller,
// No returns and the work goes on.
void ConfirmCancel();
