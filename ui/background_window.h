// The borderless window that covers the desktop behind the installer's dialogs: a colour
// gradient, one flat colour or a stretched picture, with the product's title in its upper left
// corner. It owns the dialogs and message boxes until the progress window appears.
#pragma once

#include <windows.h>

inline constexpr char kBackgroundWindowClass[] = "OWK Window Class";

// Registers the window class (first call only), creates the window over the desktop's work
// area (the whole screen, maximised, with FullScreenBackground, or when the work area is
// unknown, which also sets FullScreenBackground), shows it in front, stores it in
// BackgroundWindow and returns it. Registration or creation failures end the process with a
// fatal message. The picture and colours must be loaded before.
HWND CreateBackgroundWindow(HINSTANCE instance, HWND parent);

// Erases with PaintBackground and paints with PaintTitle; ignores WM_CLOSE (Alt+F4 does not
// close it); on WM_DESTROY clears BackgroundWindow, and ProgressWindow and ProgressBar when the
// progress dialog went with it. Every other message goes to DefWindowProcA. After DisplayTitle
// changes, invalidate the whole window with erase.
LRESULT CALLBACK BackgroundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window's background over client: BackgroundPicture stretched when there is one, else
// TopColor alone when MonoColor is set, else the gradient from TopColor to BottomColor.
void PaintBackground(HDC dc, const RECT& client);
