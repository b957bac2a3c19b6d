// The language dialog: the first selection from the user's locale, live switching of the
// installer's texts, its results, and the choice at start-up.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/language_strings.h"
#include "config/settings.h"
#include "res/dialog_ids.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/dialog_test_support.h"
#include "ui/language_dialog.h"
#include "ui/windows.h"

namespace {

using dialog_test::Click;
using dialog_test::DialogLine;
using dialog_test::ItemText;
using dialog_test::LanguageTables;
using dialog_test::RunModalDialog;
using dialog_test::ScriptedAnswers;
using dialog_test::WindowText;

Vector<String> Names(const std::vector<const char*>& names) {
  Vector<String> out;
  for (const char* name : names) out.Append(String(name));
  return out;
}

TEST(InitialLanguage, PicksTheFirstEntryBeginningWithTheLocalesLanguage) {
  const struct {
    std::vector<const char*> names;
    const char* locale;
    int expected;
  } cases[] = {
      {{"English", "German", "Germanic"}, "German (Germany)", 1},
      {{"English", "Germanic", "German"}, "German (Germany)", 1},  // a prefix, whichever first
      {{"English", "GERMAN"}, "german (Austria)", 1},               // ASCII case ignored
      {{"English", "Ger", "German"}, "German", 2},                  // the entry must be longer
      {{"Dansk", "Norsk", "English"}, "Norsk bokm\xE5l (Norge)", 1},  // cut at the blank
      {{"Dansk", "Chinese"}, "Chinese\t(PRC)", 1},                   // at any white space
      {{"Deutsch", "English (UK)", "English"}, "Espa\xF1ol (Espa\xF1" "a)", 1},  // English...
      {{"Deutsch", "english"}, "Espa\xF1ol", 1},                    // ...in any case
      {{"Deutsch", "Dansk"}, "Espa\xF1ol (Espa\xF1" "a)", 0},          // else the first
      {{"Deutsch", "English"}, "(Neutral)", 0},  // nothing left: every entry begins with it
      {{"Deutsch", "English"}, "", 0},
      {{}, "German", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    EXPECT_EQ(InitialLanguage(Names(c.names), c.locale), c.expected);
  }
}

TEST(UserLocaleLanguageName, IsTheSystemsNameForTheUsersLanguage) {
  char expected[256] = {};
  ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLANGUAGE, expected, sizeof expected), 0);
  EXPECT_STREQ(UserLocaleLanguageName().CStr(), expected);
}

// A background window that counts how often its background is erased.
int erasures = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    ++erasures;
    return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

const char* localeName = "German (Germany)";
String TestLocaleName() { return localeName; }

class LanguageDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    InstanceHandle = GetModuleHandleA(nullptr);
    AutomaticMode = false;
    localeName = "German (Germany)";
    SetLocaleLanguageNameForTesting(TestLocaleName);
  }
  void TearDown() override {
    SetLocaleLanguageNameForTesting(nullptr);
    if (BackgroundWindow) DestroyWindow(BackgroundWindow);
    BackgroundWindow = nullptr;
    InstanceHandle = nullptr;
    AutomaticMode = false;
  }
  void MakeBackground() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = InstanceHandle;
    windowClass.lpszClassName = "QuorvexTestBackground";
    RegisterClassA(&windowClass);
    BackgroundWindow = CreateWindowExA(0, "QuorvexTestBackground", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                       40, 30, nullptr, nullptr, InstanceHandle, nullptr);
    ASSERT_NE(BackgroundWindow, nullptr);
    UpdateWindow(BackgroundWindow);
    erasures = 0;
  }
  // Whether the background was invalidated with erasing since the last look.
  static bool BackgroundErased() {
    UpdateWindow(BackgroundWindow);
    bool erased = erasures > 0;
    erasures = 0;
    return erased;
  }
  static std::vector<std::string> ListedNames(HWND dialog) {
    std::vector<std::string> names;
    int count = int(SendDlgItemMessageA(dialog, IDC_LANGUAGE_LIST, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char name[256] = {};
      SendDlgItemMessageA(dialog, IDC_LANGUAGE_LIST, LB_GETTEXT, i, LPARAM(name));
      names.push_back(name);
    }
    return names;
  }
  static void Select(HWND dialog, int entry) {
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    SendMessageA(list, LB_SETCURSEL, WPARAM(entry), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_LIST, LBN_SELCHANGE), LPARAM(list));
  }
  static void DoubleClick(HWND dialog) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_LIST, LBN_DBLCLK),
                 LPARAM(GetDlgItem(dialog, IDC_LANGUAGE_LIST)));
  }
  LanguageTables tables_{{"English", "Germanic", "German"}};
};

TEST_F(LanguageDialogTest, OpensOnTheLocalesLanguageWithItsTexts) {
  MakeBackground();
  HWND dialog = CreateDialogParamA(InstanceHandle, "LanguageDlg", nullptr, LanguageDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  std::vector<std::string> names = {"English", "Germanic", "German"};
  EXPECT_EQ(ListedNames(dialog), names);
  EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_LANGUAGE_LIST, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(CurrentLanguage, 1);
  EXPECT_STREQ(DisplayTitle.CStr(), "Germanic 0");
  EXPECT_EQ(ItemText(dialog, IDC_FIRST_BUTTON), "Germanic 48");
  EXPECT_EQ(ItemText(dialog, IDC_SECOND_BUTTON), "Germanic 49");
  EXPECT_EQ(WindowText(dialog), "Choose Your Language");
  EXPECT_TRUE(BackgroundErased());
  DestroyWindow(dialog);
}

TEST_F(LanguageDialogTest, FallsBackToEnglishThenToTheFirstEntry) {
  localeName = "Fran\xE7" "ais (France)";
  HWND dialog = CreateDialogParamA(InstanceHandle, "LanguageDlg", nullptr, LanguageDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(CurrentLanguage, 0);
  EXPECT_STREQ(DisplayTitle.CStr(), "English 0");
  DestroyWindow(dialog);
}

TEST_F(LanguageDialogTest, ChangingTheSelectionSwitchesTitleAndButtonsAtOnce) {
  MakeBackground();
  HWND dialog = CreateDialogParamA(InstanceHandle, "LanguageDlg", nullptr, LanguageDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  BackgroundErased();

  Select(dialog, 2);
  EXPECT_EQ(CurrentLanguage, 2);
  EXPECT_STREQ(DisplayTitle.CStr(), "German 0");
  EXPECT_EQ(ItemText(dialog, IDC_FIRST_BUTTON), "German 48");
  EXPECT_EQ(ItemText(dialog, IDC_SECOND_BUTTON), "German 49");
  EXPECT_TRUE(BackgroundErased());

  Select(dialog, 0);
  EXPECT_EQ(CurrentLanguage, 0);
  EXPECT_STREQ(DisplayTitle.CStr(), "English 0");
  EXPECT_EQ(ItemText(dialog, IDC_FIRST_BUTTON), "English 48");
  EXPECT_TRUE(BackgroundErased());

  // No selection: nothing to switch to; the texts stay.
  Select(dialog, -1);
  EXPECT_EQ(CurrentLanguage, -1);
  EXPECT_STREQ(DisplayTitle.CStr(), "English 0");
  EXPECT_EQ(ItemText(dialog, IDC_FIRST_BUTTON), "English 48");
  EXPECT_FALSE(BackgroundErased());
  DestroyWindow(dialog);
}

TEST_F(LanguageDialogTest, DoubleClickOrOkTakesTheSelectionCancelRefuses) {
  const struct {
    const char* name;
    std::function<void(HWND)> drive;
    INT_PTR result;
    int language;
  } cases[] = {
      {"double click", [](HWND d) { Select(d, 2); DoubleClick(d); }, 1001, 2},
      {"OK", [](HWND d) { Select(d, 0); Click(d, IDC_FIRST_BUTTON); }, 1001, 0},
      {"OK without a selection", [](HWND d) { Select(d, -1); Click(d, IDC_FIRST_BUTTON); }, 1001, 0},
      {"Cancel", [](HWND d) { Select(d, 2); Click(d, IDC_SECOND_BUTTON); }, 1003, 2},
      {"Enter's IDOK is not OK", [](HWND d) { SendMessageA(d, WM_COMMAND, IDOK, 0); },
       dialog_test::kLeftOpen, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RunModalDialog("LanguageDlg", LanguageDialogProc, 0, c.drive), c.result);
    EXPECT_EQ(CurrentLanguage, c.language);
  }
}

TEST_F(LanguageDialogTest, ChooseLanguageAsksOnlyWhenThereIsAChoice) {
  ScriptedAnswers answers;
  answers.Answer({"1001"});
  MakeBackground();
  ChooseLanguage();
  EXPECT_EQ(CurrentLanguage, 1);
  EXPECT_STREQ(DisplayTitle.CStr(), "Germanic 0");
  EXPECT_TRUE(BackgroundErased());
  std::vector<std::string> expected = {DialogLine("LanguageDlg", 1001, "background")};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(LanguageDialogTest, OneLanguageOrAutomaticModeKeepsTheDefault) {
  ScriptedAnswers answers;
  answers.Answer({"1003"});
  MakeBackground();
  {
    LanguageTables one({"Deutsch"});
    ChooseLanguage();
    EXPECT_STREQ(DisplayTitle.CStr(), "Deutsch 0");
    EXPECT_TRUE(BackgroundErased());
  }
  LanguageTables two({"Deutsch", "English"});
  CurrentLanguage = 1;
  AutomaticMode = true;
  ChooseLanguage();
  EXPECT_EQ(CurrentLanguage, 1);
  EXPECT_STREQ(DisplayTitle.CStr(), "English 0");
  EXPECT_TRUE(BackgroundErased());
  EXPECT_TRUE(ReadUiTranscript().empty());
}

TEST_F(LanguageDialogTest, CancelEndsTheInstaller) {
  ScriptedAnswers answers;
  answers.Answer({"1003"});
  EXPECT_EXIT(ChooseLanguage(), testing::ExitedWithCode(1), "");
  std::vector<std::string> expected = {DialogLine("LanguageDlg", 1003)};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

}  // namespace
