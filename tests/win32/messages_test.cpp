// Message boxes, the fatal channel and the single way out of the process, as the transcript
// of the UI seam records them.
#include "ui/messages.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "archive/product_flags.h"
#include "config/settings.h"
#include "core/memory.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/dialog_test_support.h"
#include "ui/message_pump.h"
#include "ui/windows.h"

namespace {

std::string Box(const char* owner, const char* style, const char* caption, const std::string& text,
                int answer) {
  return std::string("box\t") + owner + "\t" + style + "\t" + caption + "\t" +
         TranscriptEscaped(text) + "\t" + std::to_string(answer);
}

std::string FatalBox(const std::string& text, const char* owner = "none") {
  return Box(owner, "0x00002010", "FATAL ERROR", text, IDOK);
}

class MessagesTest : public testing::Test {
 protected:
  void SetUp() override {
    ClearUiTranscript();
    AutomaticMode = false;
    ProductFlags = 0;
  }
  void TearDown() override {
    for (HWND* window : {&BackgroundWindow, &ProgressWindow}) {
      if (*window) DestroyWindow(*window);
      *window = nullptr;
    }
    AutomaticMode = false;
    ProductFlags = 0;
    ClearUiTranscript();
  }
  static HWND MakeWindow() {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
};

TEST_F(MessagesTest, MessageOwnerPrefersTheProgressWindow) {
  EXPECT_EQ(MessageOwner(), nullptr);
  BackgroundWindow = MakeWindow();
  ASSERT_NE(BackgroundWindow, nullptr);
  EXPECT_EQ(MessageOwner(), BackgroundWindow);
  ProgressWindow = MakeWindow();
  ASSERT_NE(ProgressWindow, nullptr);
  EXPECT_EQ(MessageOwner(), ProgressWindow);
}

TEST_F(MessagesTest, ReportErrorShowsAStopBoxOwnedByTheMessageOwner) {
  ReportError("Failed to copy %s (%d)", "a.dll", 5);
  BackgroundWindow = MakeWindow();
  ReportError("second");
  ProgressWindow = MakeWindow();
  ReportError("third");
  std::vector<std::string> expected = {
      Box("none", "0x00000010", "Error", "Failed to copy a.dll (5)", IDOK),
      Box("background", "0x00000010", "Error", "second", IDOK),
      Box("progress", "0x00000010", "Error", "third", IDOK),
  };
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(MessagesTest, ReportErrorStaysSilentForBlankTextsAndInAutomaticMode) {
  ReportError(" \t\r\n");
  ReportError("%s", "");
  AutomaticMode = true;
  ReportError("suppressed");
  ProductFlags = FlagMask(ProductFlag::kErrorsInAutomaticMode);
  ReportError("shown");
  std::vector<std::string> expected = {Box("none", "0x00000010", "Error", "shown", IDOK)};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

// Each fatal path ends the process with exit code 1 after one box.
struct FatalCase {
  const char* name;
  void (*statement)();
  std::string text;
};

const char kUsageTail[] =
    "\n\nUsage:\nwin32_tests.exe [/a] [/d:\"dir\"] [/n:\"name\"] [/u:\"name\"] [/r:\"program\"]\n\n"
    "/a                  \tAutomatic mode\n"
    "/d:\"dir\"        \tOverride installation directory\n"
    "/n:\"name\"\tOverride product name\n"
    "/u:\"name\"\tUninstall product by name\r\n"
    "/r:\"program\"\tRun the specified program after a successful installation";

const char kCorruptText[] =
    "This installation program is corrupt.  This is usually caused by a faulty download, but it "
    "can also be caused by a virus on your computer.  The installation cannot proceed.\r\n\r\n"
    "Delete the corrupted installer (to prevent caching), then re-download it.  If the problem "
    "persists, check your system for viruses.\r\n\r\nError code: 25";

TEST_F(MessagesTest, FatalPathsShowOneBoxAndExitWithOne) {
  const FatalCase cases[] = {
      {"FatalError", [] { FatalError("Something broke.\r\nDetails"); },
       "Something broke.\r\nDetails"},
      {"FatalErrorFormat", [] { FatalErrorFormat("%s = %d", "x", -3); }, "x = -3"},
      {"InternalFatal", [] { InternalFatal("Core.cpp", 840); },
       "Internal Fatal Error\r\nModule: Core.cpp\r\nLine: 840"},
      {"CorruptInstaller", [] { CorruptInstaller(kHeaderChecksumMismatch); }, kCorruptText},
      {"UsageError", [] { UsageError("Product name required"); },
       std::string("Product name required") + kUsageTail},
      {"FatalError in automatic mode",
       [] {
         AutomaticMode = true;
         FatalError("still shown");
       },
       "still shown"},
  };
  for (const FatalCase& c : cases) {
    SCOPED_TRACE(c.name);
    ClearUiTranscript();
    EXPECT_EXIT(c.statement(), testing::ExitedWithCode(1), "");
    std::vector<std::string> expected = {FatalBox(c.text)};
    EXPECT_EQ(ReadUiTranscript(), expected);
  }
}

// The archive's corrupt-installer text is used only when it takes the one integer code.
TEST_F(MessagesTest, TheCorruptMessageOfTheArchiveMustTakeTheCode) {
  const struct {
    const char* text;
    std::string shown;
  } cases[] = {
      {"Kaputt: %d", "Kaputt: 25"}, {"Kaputt: %d (100%% sicher)", "Kaputt: 25 (100% sicher)"},
      {"Kaputt: %s", kCorruptText}, {"Kaputt: %d %d", kCorruptText},
      {"Kaputt", kCorruptText},     {"Kaputt: %n%d", kCorruptText},
      {"", kCorruptText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    dialog_test::LanguageTables tables;
    tables.Set(13, c.text);
    ClearUiTranscript();
    EXPECT_EXIT(CorruptInstaller(kHeaderChecksumMismatch), testing::ExitedWithCode(1), "");
    std::vector<std::string> expected = {FatalBox(c.shown)};
    EXPECT_EQ(ReadUiTranscript(), expected);
  }
}

TEST_F(MessagesTest, FatalBoxIsOwnedByTheProgressWindowAndExitClosesBoth) {
  EXPECT_EXIT(
      {
        BackgroundWindow = MakeWindow();
        ProgressWindow = MakeWindow();
        FatalError("owned");
      },
      testing::ExitedWithCode(1), "");
  std::vector<std::string> expected = {FatalBox("owned", "progress")};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(MessagesTest, ExitInstallerEndsWithOneAfterSuccessToo) {
  EXPECT_EXIT(
      {
        BackgroundWindow = MakeWindow();
        ExitInstaller();
      },
      testing::ExitedWithCode(1), "");
  EXPECT_TRUE(ReadUiTranscript().empty());
}

// Windows that say, on stderr, when they are destroyed (and whether minimised by then) and when
// a message posted to them is dispatched: ExitInstaller's steps as they happen.
LRESULT CALLBACK ReportingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  char name[32] = "";
  GetWindowTextA(window, name, sizeof name);
  std::string line;
  if (message == WM_DESTROY) line = std::string(name) + (IsIconic(window) ? " minimised" : "") + " destroyed\n";
  if (message == WM_APP) line = std::string(name) + " got a posted message\n";
  if (!line.empty()) {
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeReportingWindow(const char* name) {
  static const ATOM registered = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ReportingWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuorvexReportingWindow";
    return RegisterClassA(&windowClass);
  }();
  if (registered == 0) return nullptr;
  return CreateWindowExA(0, "QuorvexReportingWindow", name, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The progress window goes first, then the background window, minimised before it is destroyed;
// then the messages still queued are dispatched once; then the process ends with 1.
TEST_F(MessagesTest, ExitInstallerClosesTheWindowsInOrderAndDrainsTheQueue) {
  EXPECT_EXIT(
      {
        BackgroundWindow = MakeReportingWindow("background");
        ProgressWindow = MakeReportingWindow("progress");
        HWND other = MakeReportingWindow("other");
        if (!BackgroundWindow || !ProgressWindow || !other) std::_Exit(3);
        PumpMessages();
        PostMessageA(other, WM_APP, 0, 0);
        ExitInstaller();
      },
      testing::ExitedWithCode(1),
      "progress destroyed\n"
      "background minimised destroyed\n"
      "other got a posted message\n");
}

// More than the address space of the process can hold.
volatile size_t kImpossibleSize = ~size_t(0) / 2;

// Both allocation paths of the engine reach the out-of-memory box.
TEST_F(MessagesTest, ExhaustedMemoryShowsTheOutOfMemoryBox) {
  const struct {
    const char* name;
    void (*statement)();
  } cases[] = {
      {"MemAllocate", [] { MemAllocate(kImpossibleSize); }},
      {"operator new", [] {
         char* block = new char[kImpossibleSize];
         block[0] = 1;  // keeps the allocation from being elided
         delete[] block;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClearUiTranscript();
    EXPECT_EXIT(c.statement(), testing::ExitedWithCode(1), "");
    // No ASSERT here: a death test's child runs this loop too, up to its own statement.
    std::vector<std::string> lines = ReadUiTranscript();
    EXPECT_EQ(lines.size(), 1u);
    if (lines.size() != 1) continue;
    const std::string prefix = "box\tnone\t0x00002010\tFATAL ERROR\tOut Of Memory.  Make sure your "
                               "hard drive is not full.\\nRequested size = ";
    EXPECT_EQ(lines[0].substr(0, prefix.size()), prefix);
    EXPECT_NE(lines[0].find("\\n\\nStack contents:\\r11223344 55667788 "), std::string::npos)
        << lines[0];
  }
}

}  // namespace
