#include "ui/windows.h"

HWND BackgroundWindow = nullptr;
HWND ProgressWindow = nullptr;
HINSTANCE InstanceHandle = nullptr;
