#include "ui/language_dialog.h"

#include "config/language_strings.h"
#include "config/settings.h"
#include "res/dialog_ids.h"
#include "ui/centre_window.h"
#include "ui/messages.h"
#include "ui/ui_seam.h"
#include "ui/windows.h"

namespace {

constexpr LCID kUserDefaultLocale = 0x400;
constexpr LCTYPE kLocalisedLanguageName = 2;  // LOCALE_SLANGUAGE
constexpr int kLocaleNameBufferSize = 255;
constexpr char kFallbackLanguage[] = "English";

#ifdef QUORVEX_TEST_SEAM
LocaleLanguageNameFunction localeLanguageNameOverride = nullptr;
#endif

String LocaleLanguageName() {
#ifdef QUORVEX_TEST_SEAM
  if (localeLanguageNameOverride) return localeLanguageNameOverride();
#endif
  return UserLocaleLanguageName();
}

// An empty prefix begins every text, as with the list box's own prefix search.
bool BeginsWithIgnoringCase(const String& text, const String& prefix) {
  if (prefix.Length() > text.Length()) return false;
  return prefix.IsEmpty() || text.Compare(prefix.CStr(), false, prefix.Length()) == 0;
}

int FirstBeginningWith(const Vector<String>& names, const String& prefix) {
  for (int i = 0; i < names.Count(); ++i) {
    if (BeginsWithIgnoringCase(names[i], prefix)) return i;
  }
  return -1;
}

int LanguageCount() { return LanguageNames.Count(); }

int SelectedEntry(HWND dialog) {
  return int(SendDlgItemMessageA(dialog, IDC_LANGUAGE_LIST, LB_GETCURSEL, 0, 0));
}

void RepaintBackground() {
  if (BackgroundWindow) InvalidateRect(BackgroundWindow, nullptr, TRUE);
}

void InitDialog(HWND dialog) {
  for (int i = 0; i < LanguageCount(); ++i) {
    SendDlgItemMessageA(dialog, IDC_LANGUAGE_LIST, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(LanguageNames[i].CStr()));
  }
  int selected = InitialLanguage(LanguageNames, LocaleLanguageName());
  SendDlgItemMessageA(dialog, IDC_LANGUAGE_LIST, LB_SETCURSEL, WPARAM(selected), 0);
  CurrentLanguage = selected;
  SetLanguageDialogTexts(dialog);
  CentreWindow(dialog);
}

void EndWithSelection(HWND dialog) {
  int selected = SelectedEntry(dialog);
  if (selected >= LanguageCount()) selected = LanguageCount() - 1;
  if (selected < 0) selected = 0;
  CurrentLanguage = selected;
  EndDialog(dialog, IDC_FIRST_BUTTON);
}

}  // namespace

int InitialLanguage(const Vector<String>& names, const String& localeName) {
  String language = localeName;
  language.TruncateAtChar('(');
  int blank = language.FindFirstOf(" \t\r\n\v\f");
  if (blank >= 0) language.EraseFrom(blank);
  int found = FirstBeginningWith(names, language);
  if (found < 0) found = FirstBeginningWith(names, kFallbackLanguage);
  return found < 0 ? 0 : found;
}

String UserLocaleLanguageName() {
  char name[kLocaleNameBufferSize] = {};
  if (GetLocaleInfoA(kUserDefaultLocale, kLocalisedLanguageName, name, sizeof name) <= 0)
    return String();
  return String(name);
}

void SetLanguageDialogTexts(HWND dialog) {
  DisplayTitle = LookupString(StringId::kDisplayTitle);
  SetDlgItemTextA(dialog, IDC_FIRST_BUTTON, LookupString(StringId::kOkCaption).CStr());
  SetDlgItemTextA(dialog, IDC_SECOND_BUTTON, LookupString(StringId::kCancelCaption).CStr());
  RepaintBackground();
}

INT_PTR CALLBACK LanguageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    InitDialog(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  int id = LOWORD(wParam);
  int notification = HIWORD(wParam);
  if (id == IDC_LANGUAGE_LIST && notification == LBN_SELCHANGE) {
    CurrentLanguage = SelectedEntry(dialog);
    if (CurrentLanguage >= 0 && CurrentLanguage < LanguageCount()) SetLanguageDialogTexts(dialog);
    return TRUE;
  }
  if ((id == IDC_LANGUAGE_LIST && notification == LBN_DBLCLK) || id == IDC_FIRST_BUTTON) {
    EndWithSelection(dialog);
    return TRUE;
  }
  if (id == IDC_SECOND_BUTTON) {
    EndDialog(dialog, IDC_SECOND_BUTTON);
    return TRUE;
  }
  return FALSE;
}

void ChooseLanguage() {
  if (LanguageCount() != 1 && !AutomaticMode) {
    if (ShowDialog(InstanceHandle, "LanguageDlg", BackgroundWindow, LanguageDialogProc, 0) !=
        IDC_FIRST_BUTTON)
      ExitInstaller();
  }
  DisplayTitle = LookupString(StringId::kDisplayTitle);
  RepaintBackground();
}

#ifdef QUORVEX_TEST_SEAM
void SetLocaleLanguageNameForTesting(LocaleLanguageNameFunction function) {
  localeLanguageNameOverride = function;
}
#endif
