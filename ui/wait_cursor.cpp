#include "ui/wait_cursor.h"

#include <windows.h>

void ShowWaitCursor() { SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))); }  // IDC_WAIT

void HideCursor() { SetCursor(nullptr); }
