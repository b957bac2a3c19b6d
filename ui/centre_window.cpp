#include "ui/centre_window.h"

void CentreWindow(HWND window) {
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT rect;
  if (!GetWindowRect(window, &rect)) return;
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  // Only the position uses the sizes cut to the screen; the window keeps its own.
  int placedWidth = width < screenWidth ? width : screenWidth;
  int placedHeight = height < screenHeight ? height : screenHeight;
  int x = (screenWidth - placedWidth) >> 1;
  int y = (screenHeight - placedHeight) >> 1;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  MoveWindow(window, x, y, width, height, FALSE);
}
