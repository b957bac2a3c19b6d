#include "ui/text_dialogs.h"

#include "config/language_strings.h"
#include "config/settings.h"
#include "platform/system_paths.h"
#include "res/dialog_ids.h"
#include "ui/centre_window.h"
#include "ui/messages.h"
#include "ui/ui_seam.h"
#include "ui/windows.h"

namespace {

// String ids of one dialog's texts.
struct TextDialogStrings {
  StringId caption;
  StringId prompt;
  StringId firstButton;
  StringId secondButton;
};

constexpr TextDialogStrings kLicenseStrings = {StringId::kLicenceTitle, StringId::kLicenceText,
                                               StringId::kLicenceAccept, StringId::kLicenceDecline};
constexpr TextDialogStrings kReadmeStrings = {StringId::kReadmeTitle, StringId::kReadmeText,
                                              StringId::kOkCaption, StringId::kCancelCaption};
constexpr INT_PTR kAgreed = IDC_FIRST_BUTTON;

void SetItemText(HWND dialog, int id, StringId stringId) {
  SetDlgItemTextA(dialog, id, LookupString(stringId).CStr());
}

INT_PTR TextDialogProc(const TextDialogStrings& strings, HWND dialog, UINT message,
                       WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextA(dialog, IDC_TEXT_VIEWER, reinterpret_cast<const char*>(lParam));
    SetItemText(dialog, IDC_FIRST_BUTTON, strings.firstButton);
    SetItemText(dialog, IDC_SECOND_BUTTON, strings.secondButton);
    SetItemText(dialog, IDC_PROMPT, strings.prompt);
    SetWindowTextA(dialog, LookupString(strings.caption).CStr());
    CentreWindow(dialog);
    return TRUE;
  }
  if (message == WM_COMMAND) {
    int id = LOWORD(wParam);
    if (id == IDC_FIRST_BUTTON || id == IDC_SECOND_BUTTON) {
      EndDialog(dialog, id);
      return TRUE;
    }
  }
  return FALSE;
}

// Shows a dialog for each non-blank text, the language's own first; ends the program at the
// first that is not agreed to.
void ShowTexts(INT_PTR (*run)(const String&), StringId languageText, const Vector<String>& texts) {
  for (int i = -1; i < texts.Count(); ++i) {
    String text = i < 0 ? LookupString(languageText) : texts[i];
    if (text.IsBlank()) continue;
    if (run(WithProductAndOs(text)) != kAgreed) ExitInstaller();
  }
}

}  // namespace

INT_PTR CALLBACK LicenseDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return TextDialogProc(kLicenseStrings, dialog, message, wParam, lParam);
}

INT_PTR CALLBACK ReadmeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return TextDialogProc(kReadmeStrings, dialog, message, wParam, lParam);
}

INT_PTR RunLicenseDialog(const String& text) {
  return ShowDialog(InstanceHandle, "LicenseDlg", BackgroundWindow, LicenseDialogProc,
                    reinterpret_cast<LPARAM>(text.CStr()));
}

INT_PTR RunReadmeDialog(const String& text) {
  return ShowDialog(InstanceHandle, "ReadmeDlg", BackgroundWindow, ReadmeDialogProc,
                    reinterpret_cast<LPARAM>(text.CStr()));
}

String WithProductAndOs(const String& text) {
  String filled = text;
  filled.Replace("<product>", ProductName.CStr(), String::kIgnoreCase);
  filled.Replace("<os>", WindowsDir().CStr(), String::kIgnoreCase);
  return filled;
}

void ShowLicenseAndReadmeTexts(const Vector<String>& licenseTexts,
                               const Vector<String>& readmeTexts) {
  if (AutomaticMode) return;
  ShowTexts(RunLicenseDialog, StringId::kLanguageLicence, licenseTexts);
  ShowTexts(RunReadmeDialog, StringId::kLanguageReadme, readmeTexts);
}
