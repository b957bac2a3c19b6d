// Test builds only: message boxes and dialogs answered from a script and written to a
// transcript (see ui_seam.h for the formats).
#pragma once

#ifdef QUORVEX_TEST_SEAM
#include <windows.h>

#include "core/string.h"

bool ScriptedUiActive();
// Reads the environment variables again on next use (tests that change them).
void ReloadScriptedUi();
int ScriptedMessageBox(HWND owner, const char* text, const char* caption, unsigned style);
INT_PTR ScriptedDialog(HINSTANCE instance, const char* templateName, HWND owner, DLGPROC proc,
                       LPARAM param);

// Appends "event<TAB>text" to the transcript: what a scripted run did instead of something a
// test must not let happen (ending the session).
void AppendScriptedEvent(const String& text);

// The button a message box of this style returns when the user just presses Enter.
int DefaultMessageBoxButton(unsigned style);
#endif
