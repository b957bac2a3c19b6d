// The licence and read-me dialogs and the run of them before the directory question.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/language_strings.h"
#include "config/settings.h"
#include "platform/system_paths.h"
#include "res/dialog_ids.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/dialog_test_support.h"
#include "ui/text_dialogs.h"
#include "ui/windows.h"

namespace {

using dialog_test::Click;
using dialog_test::DialogLine;
using dialog_test::ItemText;
using dialog_test::LanguageTables;
using dialog_test::RunModalDialog;
using dialog_test::ScriptedAnswers;
using dialog_test::WindowText;

class TextDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    InstanceHandle = GetModuleHandleA(nullptr);
    AutomaticMode = false;
  }
  void TearDown() override {
    InstanceHandle = nullptr;
    AutomaticMode = false;
    ProductName.Clear();
  }
  LanguageTables tables_{{"English", "Deutsch"}};
};

struct TextDialogCase {
  const char* name;
  DLGPROC proc;
  int caption, prompt, first, second;  // string ids
};

const TextDialogCase kTextDialogs[] = {
    {"LicenseDlg", LicenseDialogProc, 44, 47, 45, 46},
    {"ReadmeDlg", ReadmeDialogProc, 50, 51, 48, 49},
};

std::string Deutsch(int id) { return LanguageTables::Default("Deutsch", id); }

TEST_F(TextDialogTest, OpenWithTheirTextAndTheTextsOfTheCurrentLanguage) {
  CurrentLanguage = 1;
  const char* text = "Line one\r\nLine two";
  for (const TextDialogCase& c : kTextDialogs) {
    SCOPED_TRACE(c.name);
    HWND dialog = CreateDialogParamA(InstanceHandle, c.name, nullptr, c.proc,
                                     reinterpret_cast<LPARAM>(text));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_TEXT_VIEWER), text);
    EXPECT_EQ(WindowText(dialog), Deutsch(c.caption));
    EXPECT_EQ(ItemText(dialog, IDC_PROMPT), Deutsch(c.prompt));
    EXPECT_EQ(ItemText(dialog, IDC_FIRST_BUTTON), Deutsch(c.first));
    EXPECT_EQ(ItemText(dialog, IDC_SECOND_BUTTON), Deutsch(c.second));
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_TEXT_VIEWER), GWL_STYLE) & ES_READONLY);
    DestroyWindow(dialog);
  }
}

TEST_F(TextDialogTest, EndWithTheIdOfTheButtonPressed) {
  for (const TextDialogCase& c : kTextDialogs) {
    for (int button : {IDC_FIRST_BUTTON, IDC_SECOND_BUTTON}) {
      SCOPED_TRACE(testing::Message() << c.name << " " << button);
      INT_PTR result = RunModalDialog(c.name, c.proc, reinterpret_cast<LPARAM>("text"),
                                      [button](HWND dialog) {
        // Commands of other controls, and Enter's IDOK, leave the dialog open.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TEXT_VIEWER, EN_SETFOCUS),
                     LPARAM(GetDlgItem(dialog, IDC_TEXT_VIEWER)));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        Click(dialog, button);
      });
      EXPECT_EQ(result, button);
    }
  }
}

TEST_F(TextDialogTest, RunFunctionsGiveTheDialogsResultOwnedByTheBackground) {
  ScriptedAnswers answers;
  answers.Answer({"1003", "1001"});
  BackgroundWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     InstanceHandle, nullptr);
  EXPECT_EQ(RunLicenseDialog("licence"), 1003);
  EXPECT_EQ(RunReadmeDialog("readme"), 1001);
  DestroyWindow(BackgroundWindow);
  BackgroundWindow = nullptr;
  // A dialog that cannot be created is not agreed to.
  InstanceHandle = GetModuleHandleA("kernel32.dll");
  EXPECT_EQ(RunLicenseDialog("licence"), -1);
  std::vector<std::string> expected = {DialogLine("LicenseDlg", 1003, "background"),
                                       DialogLine("ReadmeDlg", 1001, "background"),
                                       DialogLine("LicenseDlg", -1)};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(TextDialogTest, WithProductAndOsFillsBothPlaceholdersInAnyCase) {
  ProductName = "Widget";
  const std::string os = WindowsDir().CStr();
  const struct {
    const char* text;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"no placeholders", "no placeholders"},
      {"<product> on <os>", "Widget on " + os},
      {"<PRODUCT>, <Product>, <pRoDuCt>", "Widget, Widget, Widget"},
      {"<OS><os>", os + os},
      {"<product <os", "<product <os"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_STREQ(WithProductAndOs(c.text).CStr(), c.expected.c_str());
  }
}

Vector<String> Texts(const std::vector<const char*>& texts) {
  Vector<String> out;
  for (const char* text : texts) out.Append(String(text));
  return out;
}

TEST_F(TextDialogTest, ShowsEveryNonBlankTextLanguageFirstLicencesBeforeReadmes) {
  tables_.Set(63, "Licence of the language");
  tables_.Set(64, " \r\n\t");  // blank: no read-me of the language
  ScriptedAnswers answers;
  answers.Answer({"1001", "1001", "1001", "1001"});
  ShowLicenseAndReadmeTexts(Texts({"", "Second licence", "  "}), Texts({"Readme", "", "Another"}));
  std::vector<std::string> expected = {
      DialogLine("LicenseDlg", 1001), DialogLine("LicenseDlg", 1001),
      DialogLine("ReadmeDlg", 1001), DialogLine("ReadmeDlg", 1001)};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

// Records the caption and viewer text of every dialog of this thread once it has initialised
// (a hook on the return of WM_INITDIALOG), for as long as it lives.
class ShownTexts {
 public:
  ShownTexts() {
    current_ = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, Watch, nullptr, GetCurrentThreadId());
  }
  ~ShownTexts() {
    if (hook_) UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  bool Hooked() const { return hook_ != nullptr; }
  const std::vector<std::string>& Shown() const { return shown_; }

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG && current_ != nullptr) {
      current_->shown_.push_back(WindowText(call->hwnd) + ": " +
                                 ItemText(call->hwnd, IDC_TEXT_VIEWER));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static ShownTexts* current_;
  HHOOK hook_ = nullptr;
  std::vector<std::string> shown_;
};
ShownTexts* ShownTexts::current_ = nullptr;

// The language's own texts (ids 63 and 64) come before the archive's, and "<product>" and
// "<os>" are filled in, in any case, before a text is shown.
TEST_F(TextDialogTest, ShowsTheLanguagesTextFirstWithProductAndOsFilledIn) {
  ProductName = "Widget";
  const std::string os = WindowsDir().CStr();
  tables_.Set(63, "Licence of <Product> for <OS>");
  tables_.Set(64, "Read <PRODUCT> first");
  ScriptedAnswers answers;
  answers.Answer({"1001", "1001", "1001", "1001"});
  ShownTexts texts;
  ASSERT_TRUE(texts.Hooked());
  ShowLicenseAndReadmeTexts(Texts({"<product> licence"}), Texts({"<os> readme"}));
  std::vector<std::string> expected = {
      "English 44: Licence of Widget for " + os, "English 44: Widget licence",
      "English 50: Read Widget first", "English 50: " + os + " readme"};
  EXPECT_EQ(texts.Shown(), expected);
}

TEST_F(TextDialogTest, AutomaticModeShowsNoTexts) {
  AutomaticMode = true;
  ScriptedAnswers answers;
  answers.Answer({"1003"});
  ShowLicenseAndReadmeTexts(Texts({"licence"}), Texts({"readme"}));
  EXPECT_TRUE(ReadUiTranscript().empty());
}

TEST_F(TextDialogTest, AnythingButAgreementEndsTheProgram) {
  tables_.Set(63, "");
  tables_.Set(64, "");
  const struct {
    const char* name;
    std::vector<std::string> answers;
    std::vector<std::string> transcript;
  } cases[] = {
      {"declined licence", {"1003"}, {DialogLine("LicenseDlg", 1003)}},
      {"second button of a read-me",
       {"1001", "1001", "1003"},
       {DialogLine("LicenseDlg", 1001), DialogLine("LicenseDlg", 1001),
        DialogLine("ReadmeDlg", 1003)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedAnswers answers;
    answers.Answer(c.answers);
    EXPECT_EXIT(ShowLicenseAndReadmeTexts(Texts({"one", "two"}), Texts({"three", "four"})),
                testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadUiTranscript(), c.transcript);
  }
}

TEST_F(TextDialogTest, ALicenceDialogThatCannotBeCreatedCountsAsRefused) {
  ScriptedAnswers answers;
  InstanceHandle = GetModuleHandleA("kernel32.dll");
  EXPECT_EXIT(ShowLicenseAndReadmeTexts(Texts({"one"}), Texts({})), testing::ExitedWithCode(1), "");
  std::vector<std::string> expected = {DialogLine("LicenseDlg", -1)};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

}  // namespace
