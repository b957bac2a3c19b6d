// The one placement rule of every dialog of the installer.
#pragma once

#include <windows.h>

// Moves the window to the middle of the screen, keeping its size and without repainting. A
// window larger than the screen in either direction is placed at 0 in that direction.
void CentreWindow(HWND window);
