// The two long-lived windows of the installer. Either may be absent (null).
#pragma once

#include <windows.h>

extern HWND BackgroundWindow;  // covers the screen behind the dialogs
extern HWND ProgressWindow;    // exists while files are being installed
extern HINSTANCE InstanceHandle;
