// The language dialog ("LanguageDlg"): the archive's language names in a list; choosing one
// switches the installer's texts at once.
#pragma once

#include <windows.h>

#include "core/string.h"
#include "core/vector.h"

// The entry to start with for a user whose locale calls its language localeName (such as
// "German (Germany)"): the name is cut at its first "(" and its first white space, and the
// first entry that begins with what remains wins, ignoring ASCII case (an empty remainder
// begins every entry). Else the first entry that begins with "English"; else 0.
int InitialLanguage(const Vector<String>& names, const String& localeName);

// The user's default locale's name of its language, as the system gives it; empty when the
// system cannot say.
String UserLocaleLanguageName();

// DisplayTitle = string 0, the captions of the dialog's buttons 1001 and 1003 = strings 48 and
// 49, and the background window, if any, is repainted with its background erased.
void SetLanguageDialogTexts(HWND dialog);

// The dialog procedure. WM_INITDIALOG lists LanguageNames, selects InitialLanguage for the
// user's locale, makes it CurrentLanguage, sets the texts and centres the dialog. A change of
// the selection makes the selected entry CurrentLanguage and, when it is a language, sets the
// texts again. A double click on an entry or the button 1001 makes the selected entry (clamped
// to the languages; none selected gives 0) CurrentLanguage and ends the dialog with 1001; the
// button 1003 ends it with 1003.
INT_PTR CALLBACK LanguageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Lets the user choose the language when there is a choice (not exactly one language) and
// AutomaticMode is off; any answer but 1001 ends the program (ExitInstaller). Either way
// DisplayTitle then holds string 0 of the language in use and the background is repainted.
void ChooseLanguage();

#ifdef QUORVEX_TEST_SEAM
// Test builds only: the dialog asks this function for the locale's language name instead of
// the system (null restores the system's).
using LocaleLanguageNameFunction = String (*)();
void SetLocaleLanguageNameForTesting(LocaleLanguageNameFunction function);
#endif
