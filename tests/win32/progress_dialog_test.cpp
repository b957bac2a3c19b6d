// The modeless progress dialog: its texts, the bar laid over the template's placeholder, the
// Cancel button and the question it asks.
#include "ui/progress_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "archive/product_flags.h"
#include "config/settings.h"
#include "res/dialog_ids.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/dialog_test_support.h"
#include "tests/win32/progress_test_support.h"
#include "ui/progress_steps.h"
#include "ui/windows.h"

namespace {

using dialog_test::BoxLine;
using dialog_test::Click;
using dialog_test::ItemText;
using dialog_test::WindowText;
using progress_test::MessageSink;

constexpr unsigned kQuestionStyle = 0x24;
constexpr uint64_t kNoCancel = FlagMask(ProductFlag::kNoCancel);

class ProgressDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    savedInstance_ = InstanceHandle;
    InstanceHandle = GetModuleHandleA(nullptr);
    UninstallMode = false;
    AutomaticMode = false;
    ProductFlags = 0;
  }
  void TearDown() override {
    DestroyProgressDialog();
    if (BackgroundWindow) DestroyWindow(BackgroundWindow);
    BackgroundWindow = nullptr;
    InstanceHandle = savedInstance_;
    UninstallMode = false;
    ProductFlags = 0;
  }

  // A hidden stand-in for the background window (showing one costs seconds under Wine).
  static HWND MakeBackground() {
    BackgroundWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    return BackgroundWindow;
  }

  static HWND CreateDialogOrFail() {
    CreateProgressDialog();
    EXPECT_NE(ProgressWindow, nullptr);
    return ProgressWindow;
  }

  dialog_test::LanguageTables tables_;
  dialog_test::ScriptedAnswers answers_;

 private:
  HINSTANCE savedInstance_ = nullptr;
};

TEST_F(ProgressDialogTest, ShowsTheInstallOrUninstallTextsOwnedByTheBackground) {
  const struct {
    bool uninstall;
    const char* caption;
    const char* title;
  } cases[] = {
      {false, "English 54", "English 39"},
      {true, "English 55", "English 71"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.uninstall);
    UninstallMode = c.uninstall;
    HWND background = MakeBackground();
    HWND dialog = CreateDialogOrFail();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), background);
    EXPECT_EQ(WindowText(dialog), c.caption);
    EXPECT_EQ(ItemText(dialog, IDC_PROMPT), c.title);
    EXPECT_EQ(ItemText(dialog, IDC_SECOND_BUTTON), "English 49");
    EXPECT_EQ(ItemText(dialog, IDC_PROGRESS_STEP_TEXT), "");
    DestroyProgressDialog();
    DestroyWindow(background);
    BackgroundWindow = nullptr;
  }
}

TEST_F(ProgressDialogTest, CancelIsDisabledWhileUninstallingOrWhenTheArchiveForbidsIt) {
  const struct {
    bool uninstall;
    uint64_t flags;
    bool enabled;
  } cases[] = {
      {false, 0, true},
      {false, kNoCancel, false},
      {false,
       FlagMask(ProductFlag::kLogEveryFile) | FlagMask(ProductFlag::kNoCompletionMessage) |
           (uint64_t(1) << 53),
       true},
      {true, 0, false},
      {true, kNoCancel, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.uninstall << " " << c.flags);
    UninstallMode = c.uninstall;
    ProductFlags = c.flags;
    HWND dialog = CreateDialogOrFail();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, IDC_SECOND_BUTTON)) != 0, c.enabled);
    DestroyProgressDialog();
  }
}

RECT RectInDialog(HWND dialog, HWND control) {
  RECT rect = {-1, -1, -1, -1};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST_F(ProgressDialogTest, LaysTheBarOverThePlaceholderOnePixelBeyondEachEdge) {
  HWND dialog = CreateDialogOrFail();
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(ProgressBar, nullptr);
  char className[32] = "sentinel";
  GetClassNameA(ProgressBar, className, sizeof className);
  EXPECT_STREQ(className, "msctls_progress32");
  EXPECT_EQ(GetParent(ProgressBar), dialog);
  EXPECT_EQ(GetWindowLongA(ProgressBar, GWL_STYLE) & ~WS_CLIPSIBLINGS, LONG(WS_CHILD | WS_VISIBLE));

  // The placeholder at (5, 12), 185 x 9 dialog units; position and size map separately, as
  // the dialog manager maps them.
  RECT units = {5, 12, 185, 9};
  ASSERT_TRUE(MapDialogRect(dialog, &units));
  RECT frame = {units.left, units.top, units.left + units.right, units.top + units.bottom};
  RECT placeholder = RectInDialog(dialog, GetDlgItem(dialog, IDC_PROGRESS_FRAME));
  EXPECT_TRUE(EqualRect(&frame, &placeholder));
  RECT bar = RectInDialog(dialog, ProgressBar);
  EXPECT_EQ(bar.left, frame.left - 1);
  EXPECT_EQ(bar.top, frame.top - 1);
  EXPECT_EQ(bar.right, frame.right + 2);
  EXPECT_EQ(bar.bottom, frame.bottom + 2);

  PBRANGE range = {-1, -1};
  SendMessageA(ProgressBar, PBM_GETRANGE, FALSE, LPARAM(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);
  EXPECT_EQ(SendMessageA(ProgressBar, PBM_GETPOS, 0, 0), 0);
}

TEST_F(ProgressDialogTest, PositionAndStatusShowAndPump) {
  HWND dialog = CreateDialogOrFail();
  ASSERT_NE(dialog, nullptr);
  MessageSink sink;
  for (int position : {37, 100, 0, 5}) {
    SCOPED_TRACE(position);
    ASSERT_TRUE(sink.Post(progress_test::kMarker));
    int markers = MessageSink::Markers();
    EXPECT_FALSE(SetProgressPosition(position));
    EXPECT_EQ(SendMessageA(ProgressBar, PBM_GETPOS, 0, 0), position);
    EXPECT_EQ(MessageSink::Markers(), markers + 1);
  }
  EXPECT_FALSE(SetProgressStatus("Copying a.dll"));
  EXPECT_EQ(ItemText(dialog, IDC_PROGRESS_STEP_TEXT), "Copying a.dll");

  // A closing message among those dispatched is reported.
  ASSERT_TRUE(sink.Post(WM_CLOSE));
  EXPECT_TRUE(SetProgressStatus("Second step"));
  EXPECT_EQ(ItemText(dialog, IDC_PROGRESS_STEP_TEXT), "Second step");
  ASSERT_TRUE(sink.Post(WM_CLOSE));
  EXPECT_TRUE(SetProgressPosition(60));
  EXPECT_EQ(SendMessageA(ProgressBar, PBM_GETPOS, 0, 0), 60);
}

TEST_F(ProgressDialogTest, AStepRestartsTheTimerAndShowsItsTextAndPosition) {
  HWND dialog = CreateDialogOrFail();
  ASSERT_NE(dialog, nullptr);
  StepStartTime = 0;
  DWORD before = GetTickCount();
  EXPECT_FALSE(ShowProgressStep(StringId::kStartStage, 2));
  DWORD after = GetTickCount();
  EXPECT_GE(StepStartTime - before, 0u);
  EXPECT_LE(StepStartTime - before, after - before);
  EXPECT_EQ(ItemText(dialog, IDC_PROGRESS_STEP_TEXT), "English 8");
  EXPECT_EQ(SendMessageA(ProgressBar, PBM_GETPOS, 0, 0), 2);
  ShowProgressStep(StringId::kCheckStage, 36);
  EXPECT_EQ(ItemText(dialog, IDC_PROGRESS_STEP_TEXT), "English 62");
  EXPECT_EQ(SendMessageA(ProgressBar, PBM_GETPOS, 0, 0), 36);
}

TEST_F(ProgressDialogTest, DestroyingForgetsTheDialogAndItsBar) {
  HWND dialog = CreateDialogOrFail();
  ASSERT_NE(dialog, nullptr);
  DestroyProgressDialog();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(ProgressWindow, nullptr);
  EXPECT_EQ(ProgressBar, nullptr);
  DestroyProgressDialog();
  // Without a dialog the progress calls only pump.
  EXPECT_FALSE(SetProgressPosition(50));
  EXPECT_FALSE(SetProgressStatus("nothing to show it"));

  // Destroyed behind its back (as the way out of the process does), it still drops the bar.
  dialog = CreateDialogOrFail();
  ASSERT_NE(ProgressBar, nullptr);
  DestroyWindow(dialog);
  ProgressWindow = nullptr;
  EXPECT_EQ(ProgressBar, nullptr);
}

TEST_F(ProgressDialogTest, AnsweringNoToCancelKeepsGoing) {
  HWND dialog = CreateDialogOrFail();
  ASSERT_NE(dialog, nullptr);
  answers_.Answer({"7"});
  Click(dialog, IDC_SECOND_BUTTON);
  std::vector<std::string> expected = {
      BoxLine("English 20", "English 28", kQuestionStyle, IDNO, "progress")};
  EXPECT_EQ(ReadUiTranscript(), expected);
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(ProgressWindow, dialog);
  EXPECT_FALSE(SetProgressPosition(45));
  EXPECT_EQ(SendMessageA(ProgressBar, PBM_GETPOS, 0, 0), 45);
}

TEST_F(ProgressDialogTest, OnlyTheCancelButtonItselfAsksAndOnlyWhenCancelIsAllowed) {
  HWND dialog = CreateDialogOrFail();
  ASSERT_NE(dialog, nullptr);
  answers_.Answer({"7", "7", "7"});
  // A menu or accelerator command with the button's id, and another control's notification.
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SECOND_BUTTON, 0), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROMPT, STN_CLICKED),
               LPARAM(GetDlgItem(dialog, IDC_PROMPT)));
  EXPECT_TRUE(ReadUiTranscript().empty());
  // The archive's no-cancel flag, set after the dialog was made, still keeps the question away.
  ProductFlags = kNoCancel;
  Click(dialog, IDC_SECOND_BUTTON);
  EXPECT_TRUE(ReadUiTranscript().empty());
  EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(ProgressDialogTest, AnsweringYesEndsTheProcess) {
  const struct {
    const char* name;
    std::vector<std::string> answers;
  } cases[] = {
      {"Yes", {"6"}},
      {"Enter on the default button", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND dialog = CreateDialogOrFail();
    ASSERT_NE(dialog, nullptr);
    answers_.Answer(c.answers);
    ClearUiTranscript();
    EXPECT_EXIT(Click(dialog, IDC_SECOND_BUTTON), testing::ExitedWithCode(1), "");
    std::vector<std::string> expected = {
        BoxLine("English 20", "English 28", kQuestionStyle, IDYES, "progress")};
    EXPECT_EQ(ReadUiTranscript(), expected);
    DestroyProgressDialog();
  }
}

TEST_F(ProgressDialogTest, TheCancelQuestionIsOwnedByTheMessageOwner) {
  answers_.Answer({"7", "7"});
  ConfirmCancel();
  MakeBackground();
  ConfirmCancel();
  std::vector<std::string> expected = {
      BoxLine("English 20", "English 28", kQuestionStyle, IDNO, "none"),
      BoxLine("English 20", "English 28", kQuestionStyle, IDNO, "background"),
  };
  EXPECT_EQ(ReadUiTranscript(), expected);
}

}  // namespace
