#include "ui/message_pump.h"

#include <windows.h>

bool PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (msg.message == WM_DESTROY || msg.message == WM_CLOSE || msg.message == WM_QUIT) return true;
  }
  return false;
}
