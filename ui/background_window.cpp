#include "ui/background_window.h"

#include "config/settings.h"
#include "ui/background_picture.h"
#include "ui/fill_gradient.h"
#include "ui/messages.h"
#include "ui/progress_dialog.h"
#include "ui/title_painter.h"
#include "ui/windows.h"

namespace {

constexpr char kCreationFailed[] =
    "Failed to create the installer's window.  Please reboot your machine and try again.";

void RegisterBackgroundClass(HINSTANCE instance) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = BackgroundWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kBackgroundWindowClass;
  if (RegisterClassA(&windowClass) == 0) FatalError(kCreationFailed);
  registered = true;
}

// The work area unless the whole screen is wanted; a zero rectangle for the whole screen,
// which the window then covers by being maximised.
RECT BackgroundRectangle() {
  RECT rect = {0, 0, 0, 0};
  if (FullScreenBackground) return rect;
  RECT workArea;
  if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0)) return workArea;
  FullScreenBackground = true;
  return rect;
}

// However the window goes, no global handle may go on naming it or the windows it owned
// (destroyed just before it): MessageOwner and the progress operations read them.
void ForgetDestroyedWindows(HWND window) {
  if (BackgroundWindow == window) BackgroundWindow = nullptr;
  if (ProgressWindow != nullptr &&
      (!IsWindow(ProgressWindow) || GetWindow(ProgressWindow, GW_OWNER) == window)) {
    ProgressWindow = nullptr;
    ProgressBar = nullptr;
  }
}

}  // namespace

HWND CreateBackgroundWindow(HINSTANCE instance, HWND parent) {
  RegisterBackgroundClass(instance);
  RECT rect = BackgroundRectangle();
  HWND window = CreateWindowExA(0, kBackgroundWindowClass, "", WS_POPUP, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                instance, nullptr);
  if (window == nullptr) FatalError(kCreationFailed);
  BackgroundWindow = window;
  ShowWindow(window, SW_HIDE);
  ShowWindow(window, FullScreenBackground ? SW_MAXIMIZE : SW_SHOW);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  InvalidateRect(window, nullptr, TRUE);
  return window;
}

void PaintBackground(HDC dc, const RECT& client) {
  if (!BackgroundPicture.IsEmpty()) {
    // The source is the whole picture, whichever way its rows are stored: a top-down picture's
    // negative height would mirror it.
    int height = BackgroundPicture.Height();
    StretchDIBits(dc, client.left, client.top, client.right - client.left,
                  client.bottom - client.top, 0, 0, BackgroundPicture.Width(),
                  height < 0 ? -height : height, BackgroundPicture.Bits(),
                  static_cast<const BITMAPINFO*>(BackgroundPicture.Info()), DIB_RGB_COLORS,
                  SRCCOPY);
  } else if (MonoColor) {
    HBRUSH brush = CreateSolidBrush(TopColor);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
  } else {
    FillGradient(dc, client, TopColor, BottomColor);
  }
}

LRESULT CALLBACK BackgroundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      PaintBackground(reinterpret_cast<HDC>(wParam), client);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      PaintTitle(dc, client);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      // Alt+F4 and the system menu's Close arrive here: the window lives as long as the run,
      // and only ExitInstaller ends it.
      return 0;
    case WM_DESTROY:
      ForgetDestroyedWindows(window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
