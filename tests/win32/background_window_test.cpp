// The background window: its class and placement, the fatal message when it cannot be made,
// and what its window procedure paints.
#include "ui/background_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "config/language_strings.h"
#include "config/settings.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/dialog_test_support.h"
#include "tests/win32/paint_test_support.h"
#include "ui/background_picture.h"
#include "ui/messages.h"
#include "ui/progress_dialog.h"
#include "ui/title_painter.h"
#include "ui/windows.h"

namespace {

using paint_test::Canvas;
using paint_test::kUnpainted;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr char kFatalLine[] =
    "box\tnone\t0x00002010\tFATAL ERROR\tFailed to create the installer's window.  Please reboot "
    "your machine and try again.\t1";

class BackgroundWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = {TitleColor, TopColor, BottomColor, MonoColor, TitleShadow, FullScreenBackground,
              DisplayTitle};
    TitleColor = RGB(255, 0, 0);
    TopColor = RGB(0, 0, 200);
    BottomColor = RGB(200, 100, 0);
    MonoColor = true;
    TitleShadow = 0;
    FullScreenBackground = false;
    DisplayTitle = "";
    BackgroundPicture.Clear();
    ClearUiTranscript();
  }
  void TearDown() override {
    if (BackgroundWindow) DestroyWindow(BackgroundWindow);
    BackgroundWindow = nullptr;
    BackgroundPicture.Clear();
    TitleColor = saved_.titleColor;
    TopColor = saved_.topColor;
    BottomColor = saved_.bottomColor;
    MonoColor = saved_.mono;
    TitleShadow = saved_.shadow;
    FullScreenBackground = saved_.fullScreen;
    DisplayTitle = saved_.title;
    ClearUiTranscript();
  }

  static HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

  // A background window of a small client size, for painting into a canvas of that size.
  static HWND SmallWindow(int width, int height) {
    HWND window = CreateBackgroundWindow(Instance(), nullptr);
    if (window) MoveWindow(window, 0, 0, width, height, FALSE);
    return window;
  }

  // What WM_ERASEBKGND paints into a canvas one pixel larger than the client area each way.
  static std::vector<COLORREF> Erased(HWND window, Canvas& canvas) {
    EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, WPARAM(canvas.Dc()), 0), 1);
    return canvas.Pixels();
  }

 private:
  struct Saved {
    uint32_t titleColor, topColor, bottomColor;
    bool mono;
    uint8_t shadow;
    bool fullScreen;
    String title;
  } saved_;
};

TEST_F(BackgroundWindowTest, IsAVisibleBorderlessPopupOverTheWorkArea) {
  HWND window = CreateBackgroundWindow(Instance(), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(BackgroundWindow, window);

  char className[64] = "sentinel";
  GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, "OWK Window Class");
  EXPECT_EQ(GetClassLongA(window, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);
  EXPECT_EQ(GetClassLongPtrA(window, GCLP_HCURSOR), 0);
  EXPECT_EQ(GetClassLongPtrA(window, GCLP_HICON), 0);
  EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), 0);
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), LONG_PTR(BackgroundWindowProc));
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
            LONG(WS_POPUP | WS_VISIBLE));
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), 0);
  char text[16] = "sentinel";
  EXPECT_EQ(GetWindowTextA(window, text, sizeof text), 0);
  EXPECT_STREQ(text, "");

  RECT workArea = {-1, -1, -1, -1};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0));
  RECT rect = {-1, -1, -1, -1};
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_TRUE(EqualRect(&rect, &workArea))
      << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsZoomed(window));
  EXPECT_FALSE(FullScreenBackground);
  EXPECT_EQ(GetForegroundWindow(), window);
  EXPECT_EQ(GetActiveWindow(), window);
}

TEST_F(BackgroundWindowTest, CoversTheWholeScreenMaximisedWhenAsked) {
  FullScreenBackground = true;
  HWND window = CreateBackgroundWindow(Instance(), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(IsZoomed(window));
  RECT workArea = {};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0));
  RECT rect = {};
  ASSERT_TRUE(GetWindowRect(window, &rect));
  RECT covered = {};
  UnionRect(&covered, &rect, &workArea);
  EXPECT_TRUE(EqualRect(&covered, &rect)) << "the window covers at least the work area";
}

TEST_F(BackgroundWindowTest, RegistersItsClassOnceAndMakesAWindowEachCall) {
  HWND first = CreateBackgroundWindow(Instance(), nullptr);
  ASSERT_NE(first, nullptr);
  HWND second = CreateBackgroundWindow(Instance(), nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(BackgroundWindow, second);
  DestroyWindow(first);
  EXPECT_TRUE(ReadUiTranscript().empty());
}

void CreateUnderADestroyedParent() {
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  DestroyWindow(parent);
  CreateBackgroundWindow(GetModuleHandleA(nullptr), parent);
}

void CreateWithTheClassNameTaken() {
  WNDCLASSA taken = {};
  taken.lpfnWndProc = DefWindowProcA;
  taken.hInstance = GetModuleHandleA(nullptr);
  taken.lpszClassName = "OWK Window Class";
  RegisterClassA(&taken);
  CreateBackgroundWindow(GetModuleHandleA(nullptr), nullptr);
}

TEST_F(BackgroundWindowTest, FailuresEndTheProcessWithTheFatalMessage) {
  const struct {
    const char* name;
    void (*statement)();
  } cases[] = {
      {"window creation fails", CreateUnderADestroyedParent},
      {"class registration fails", CreateWithTheClassNameTaken},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClearUiTranscript();
    EXPECT_EXIT(c.statement(), testing::ExitedWithCode(1), "");
    std::vector<std::string> expected = {kFatalLine};
    EXPECT_EQ(ReadUiTranscript(), expected);
  }
}

TEST_F(BackgroundWindowTest, ErasesWithTheTopColourInFlatMode) {
  HWND window = SmallWindow(40, 30);
  ASSERT_NE(window, nullptr);
  Canvas canvas(41, 31);
  ASSERT_TRUE(canvas.Valid());
  std::vector<COLORREF> pixels = Erased(window, canvas);
  for (int y = 0; y < 31; ++y) {
    for (int x = 0; x < 41; ++x) {
      COLORREF expected = x < 40 && y < 30 ? TopColor : kUnpainted;
      ASSERT_EQ(pixels[y * 41 + x], expected) << x << "," << y;
    }
  }
}

TEST_F(BackgroundWindowTest, ErasesWithAGradientWhenNotFlat) {
  MonoColor = false;
  HWND window = SmallWindow(20, 100);
  ASSERT_NE(window, nullptr);
  Canvas canvas(20, 100);
  ASSERT_TRUE(canvas.Valid());
  Erased(window, canvas);
  EXPECT_EQ(canvas.Pixel(0, 0), TopColor);
  EXPECT_EQ(canvas.Pixel(19, 0), TopColor);
  // Within a row's share of the bottom colour at the bottom, half way in the middle.
  const COLORREF bottom = canvas.Pixel(10, 99);
  EXPECT_LE(abs(GetRValue(bottom) - 200), 3);
  EXPECT_LE(abs(GetGValue(bottom) - 100), 3);
  EXPECT_LE(abs(GetBValue(bottom) - 0), 3);
  const COLORREF middle = canvas.Pixel(10, 50);
  EXPECT_LE(abs(GetRValue(middle) - 101), 4);
  EXPECT_LE(abs(GetGValue(middle) - 50), 4);
  EXPECT_LE(abs(GetBValue(middle) - 99), 4);
}

TEST_F(BackgroundWindowTest, StretchesThePictureOverTheWholeWindow) {
  const COLORREF topLeft = RGB(255, 0, 0), topRight = RGB(0, 255, 0);
  const COLORREF bottomLeft = RGB(0, 0, 255), bottomRight = RGB(255, 255, 0);
  MonoColor = false;  // the picture wins over either colour mode
  for (bool topDown : {false, true}) {
    SCOPED_TRACE(topDown ? "top-down rows" : "bottom-up rows");
    std::string picture =
        paint_test::Picture24({{topLeft, topRight}, {bottomLeft, bottomRight}}, topDown);
    ASSERT_TRUE(BackgroundPicture.Load(String(picture.data(), int(picture.size()))));
    HWND window = SmallWindow(40, 30);
    ASSERT_NE(window, nullptr);
    Canvas canvas(40, 30);
    ASSERT_TRUE(canvas.Valid());
    Erased(window, canvas);
    EXPECT_EQ(canvas.Pixel(0, 0), topLeft);
    EXPECT_EQ(canvas.Pixel(19, 14), topLeft);
    EXPECT_EQ(canvas.Pixel(39, 0), topRight);
    EXPECT_EQ(canvas.Pixel(20, 14), topRight);
    EXPECT_EQ(canvas.Pixel(0, 29), bottomLeft);
    EXPECT_EQ(canvas.Pixel(19, 15), bottomLeft);
    EXPECT_EQ(canvas.Pixel(39, 29), bottomRight);
    EXPECT_EQ(canvas.Pixel(20, 15), bottomRight);
    DestroyWindow(window);
    BackgroundWindow = nullptr;
  }
}

TEST_F(BackgroundWindowTest, LoadsThePictureFromTheArchiveHeaderOrTheUninstallersFile) {
  std::string picture = paint_test::Picture24({{RGB(1, 2, 3)}});
  EXPECT_TRUE(LoadBackgroundPicture(String(picture.data(), int(picture.size()))));
  EXPECT_EQ(BackgroundPicture.Width(), 1);
  EXPECT_FALSE(LoadBackgroundPicture(String("BM", 2)));
  EXPECT_TRUE(BackgroundPicture.IsEmpty());

  std::string file = "BM" + std::string(12, '\0') + picture;
  EXPECT_TRUE(LoadBackgroundPictureFile(String(file.data(), int(file.size()))));
  EXPECT_EQ(BackgroundPicture.Width(), 1);
  EXPECT_FALSE(LoadBackgroundPictureFile(String(picture.data(), int(picture.size()))));
  EXPECT_TRUE(BackgroundPicture.IsEmpty());
}

// The window as it appears on the screen after it has painted itself.
std::vector<COLORREF> OnScreen(HWND window, Canvas& canvas) {
  UpdateWindow(window);
  HDC screen = GetDC(window);
  BitBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), screen, 0, 0, SRCCOPY);
  ReleaseDC(window, screen);
  return canvas.Pixels();
}

TEST_F(BackgroundWindowTest, PaintsTheTitleOverTheBackgroundOnScreen) {
  TopColor = kWhite;
  TitleShadow = 3;
  DisplayTitle = "Quorvex\r\nSetup";
  HWND window = SmallWindow(300, 120);
  ASSERT_NE(window, nullptr);
  Canvas screen(300, 120);
  ASSERT_TRUE(screen.Valid());
  std::vector<COLORREF> shown = OnScreen(window, screen);

  Canvas expected(300, 120, kWhite);
  ASSERT_TRUE(expected.Valid());
  RECT client = {0, 0, 300, 120};
  PaintTitle(expected.Dc(), client);
  EXPECT_EQ(shown, expected.Pixels());
  int black = 0;
  for (COLORREF p : shown) black += p == RGB(0, 0, 0);
  EXPECT_GT(black, 30);

  // A new title shows once the window is invalidated with erase.
  DisplayTitle = " \r\n";
  InvalidateRect(window, nullptr, TRUE);
  EXPECT_EQ(OnScreen(window, screen), std::vector<COLORREF>(300 * 120, kWhite));
}

// Dispatches whatever is queued for this thread, as the installer's pump would.
void DispatchQueued() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// The window lives as long as the run: none of the ways a user closes a window closes it.
TEST_F(BackgroundWindowTest, StaysThroughAltF4AndEveryCloseRequest) {
  const struct {
    const char* label;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } requests[] = {
      {"WM_CLOSE", WM_CLOSE, 0, 0},
      {"the system menu's Close", WM_SYSCOMMAND, SC_CLOSE, 0},
      {"Alt+F4", WM_SYSKEYDOWN, VK_F4, LPARAM(0x20000000)},  // bit 29: Alt is down
  };
  for (const auto& r : requests) {
    SCOPED_TRACE(r.label);
    HWND window = CreateBackgroundWindow(Instance(), nullptr);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, r.message, r.wParam, r.lParam);
    DispatchQueued();  // Alt+F4 posts its SC_CLOSE
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(BackgroundWindow, window);
    DestroyWindow(window);
  }
}

// Destroyed all the same (by the system, or ExitInstaller), it leaves no handle naming a dead
// window: neither its own nor that of the progress dialog it owned and took with it.
TEST_F(BackgroundWindowTest, DestroyingItForgetsItAndTheWindowsItOwned) {
  dialog_test::LanguageTables tables;
  HINSTANCE savedInstance = InstanceHandle;
  InstanceHandle = Instance();
  HWND window = CreateBackgroundWindow(Instance(), nullptr);
  ASSERT_NE(window, nullptr);
  CreateProgressDialog();
  HWND dialog = ProgressWindow;
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(ProgressBar, nullptr);
  EXPECT_EQ(MessageOwner(), dialog);

  DestroyWindow(window);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(BackgroundWindow, nullptr);
  EXPECT_EQ(ProgressWindow, nullptr);
  EXPECT_EQ(ProgressBar, nullptr);
  EXPECT_EQ(MessageOwner(), nullptr);
  // The progress calls find no window and only pump.
  EXPECT_FALSE(SetProgressPosition(40));

  // The dialog destroyed on its own leaves the background window as the owner of boxes.
  window = CreateBackgroundWindow(Instance(), nullptr);
  ASSERT_NE(window, nullptr);
  CreateProgressDialog();
  dialog = ProgressWindow;
  ASSERT_NE(dialog, nullptr);
  DestroyWindow(dialog);
  EXPECT_EQ(ProgressWindow, nullptr);
  EXPECT_EQ(ProgressBar, nullptr);
  EXPECT_EQ(MessageOwner(), window);
  InstanceHandle = savedInstance;
}

}  // namespace
