// The user-interface services that platform operations need: declared here, defined by the
// user-interface layer (ui/ui_seam.cpp, ui/message_pump.cpp), as the fatal-error channel is.
#pragma once

#include <windows.h>

// A message box through the interface's one boundary, so that tests can script it.
int ShowMessageBox(HWND owner, const char* text, const char* caption, unsigned style);

// Dispatches every queued window message of the thread. True as soon as a WM_DESTROY, WM_CLOSE
// or WM_QUIT has been dispatched (later messages stay queued); false once the queue is empty.
bool PumpMessages();
