// The one boundary through which every message box and modal dialog of the engine is shown.
//
// Test builds (QUORVEX_TEST_SEAM) can script it through the environment:
//   QUORVEX_UI_TRANSCRIPT=FILE  appends a line per box or dialog:
//       box<TAB>OWNER<TAB>0xSTYLE<TAB>CAPTION<TAB>TEXT<TAB>ANSWER
//       dialog<TAB>TEMPLATE<TAB>OWNER<TAB>RESULT
//     OWNER is none, background, progress or other; CR, LF, TAB and backslash in texts are
//     written \r, \n, \t and \\.
//   QUORVEX_UI_ANSWERS=FILE  the answers in order, one a line: for a box the number it returns;
//     for a dialog its result, optionally followed by a TAB and the text typed into the
//     dialog's first edit control (the directory of the directory dialog). Once they run out,
//     boxes return their default button and dialogs end with their default push button
//     (else their first one).
// When either variable is set, boxes are not shown at all and dialogs are driven by the answers.
// Release builds contain none of this: the calls go straight to the system.
#pragma once

#include <windows.h>

#include "platform/ui_hooks.h"  // ShowMessageBox

INT_PTR ShowDialog(HINSTANCE instance, const char* templateName, HWND owner, DLGPROC proc,
                   LPARAM param);
