// The background window's title: the font fitted by trial from 26 down to 6 points, the lines
// drawn one font height apart, and the drop shadow.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/language_strings.h"
#include "config/settings.h"
#include "tests/win32/paint_test_support.h"
#include "ui/title_painter.h"

namespace {

using paint_test::Canvas;
using paint_test::kUnpainted;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

int TextWidth(HDC dc, HFONT font, const String& text) {
  HGDIOBJ previous = SelectObject(dc, font);
  SIZE extent = {-1, -1};
  GetTextExtentPoint32A(dc, text.CStr(), text.Length(), &extent);
  SelectObject(dc, previous);
  return extent.cx;
}

// The width of text in the title font of points.
int TitleWidth(HDC dc, double points, const String& text) {
  TitleFont title = CreateTitleFont(dc, points);
  int width = TextWidth(dc, title.font, text);
  DeleteObject(title.font);
  return width;
}

int PixelHeight(HDC dc, double points) { return int(GetDeviceCaps(dc, LOGPIXELSY) * points / 72); }

TEST(TitleFont, IsBoldItalicTimesNewRomanOfTheTruncatedPixelHeight) {
  Canvas canvas(8, 8);
  ASSERT_TRUE(canvas.Valid());
  for (double points : {26.0, 17.0, 6.0}) {
    SCOPED_TRACE(points);
    TitleFont title = CreateTitleFont(canvas.Dc(), points);
    ASSERT_NE(title.font, nullptr);
    EXPECT_EQ(title.height, PixelHeight(canvas.Dc(), points));
    EXPECT_EQ(title.points, points);
    LOGFONTA font;
    memset(&font, 0x5A, sizeof font);
    ASSERT_EQ(GetObjectA(title.font, sizeof font, &font), int(sizeof font));
    EXPECT_EQ(font.lfHeight, title.height);
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfEscapement, 0);
    EXPECT_EQ(font.lfOrientation, 0);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfStrikeOut, 0);
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(font.lfOutPrecision, OUT_TT_PRECIS);
    EXPECT_EQ(font.lfClipPrecision, CLIP_DEFAULT_PRECIS);
    EXPECT_EQ(font.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(font.lfPitchAndFamily, 0);
    EXPECT_STREQ(font.lfFaceName, "Times New Roman");
    DeleteObject(title.font);
  }
}

TEST(FitTitleFont, TakesTheLargestSizeThatLeavesTwoPixelsToSpare) {
  Canvas canvas(8, 8);
  ASSERT_TRUE(canvas.Valid());
  HDC dc = canvas.Dc();
  const String text("Quorvex Setup Wizard");
  // A short title fits at 26 points; at 6 points the title is used whether it fits or not.
  int at26 = TitleWidth(dc, 26.0, text);
  int at7 = TitleWidth(dc, 7.0, text);
  ASSERT_GT(at26, at7);
  const struct {
    int clientWidth;
    double points;  // 0: somewhere between, checked against its neighbours
  } cases[] = {
      {at26 + 3, 26.0}, {10000, 26.0}, {at26 + 2, 0}, {at26 / 2, 0},  {at7 * 3 / 2, 0},
      {at7 + 3, 0},     {at7 + 2, 6.0}, {at7, 6.0},    {1, 6.0},       {0, 6.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clientWidth);
    TitleFont title = FitTitleFont(dc, c.clientWidth, text);
    ASSERT_NE(title.font, nullptr);
    EXPECT_EQ(title.height, PixelHeight(dc, title.points));
    EXPECT_EQ(TextWidth(dc, title.font, text), TitleWidth(dc, title.points, text));
    DeleteObject(title.font);
    if (c.points != 0) {
      EXPECT_EQ(title.points, c.points);
      continue;
    }
    EXPECT_GT(title.points, 6.0);
    EXPECT_LT(title.points, 26.0);
    EXPECT_EQ(title.points, int(title.points));  // whole points, one at a time
    EXPECT_LT(TitleWidth(dc, title.points, text) + 2, c.clientWidth);
    EXPECT_GE(TitleWidth(dc, title.points + 1, text) + 2, c.clientWidth);
  }
}

TEST(FitTitleFont, MeasuresATwoLineTitleInOnePiece) {
  Canvas canvas(8, 8);
  ASSERT_TRUE(canvas.Valid());
  const String first("Quorvex Setup");
  const String both("Quorvex Setup\r\nVersion 11");
  // Wide enough for either line at 26 points, too narrow for the two measured together.
  int clientWidth = TitleWidth(canvas.Dc(), 26.0, first) + 3;
  ASSERT_GT(clientWidth, TitleWidth(canvas.Dc(), 26.0, String("Version 11")) + 2);
  ASSERT_GE(TitleWidth(canvas.Dc(), 26.0, both) + 2, clientWidth);
  TitleFont title = FitTitleFont(canvas.Dc(), clientWidth, both);
  EXPECT_LT(title.points, 26.0);
  EXPECT_LT(TitleWidth(canvas.Dc(), title.points, both) + 2, clientWidth);
  DeleteObject(title.font);
}

// DrawTitleLines draws what these TextOutA calls draw: (bytes, line number).
struct DrawnLine {
  std::string text;
  int line;
};

TEST(DrawTitleLines, DrawsEachLineOneHeightLowerWithoutItsTrailingBlanks) {
  const struct {
    const char* name;
    std::string text;
    std::vector<DrawnLine> lines;
  } cases[] = {
      {"CR LF", "AB\r\nCD", {{"AB", 0}, {"CD", 1}}},
      {"LF CR", "AB\n\rCD", {{"AB", 0}, {"CD", 1}}},
      {"CR", "AB\rCD", {{"AB", 0}, {"CD", 1}}},
      {"LF", "AB\nCD", {{"AB", 0}, {"CD", 1}}},
      {"two CRs are two breaks", "AB\r\rCD", {{"AB", 0}, {"CD", 2}}},
      {"trailing blanks and an empty line", "AB \t\r\n\r\nCD \t", {{"AB", 0}, {"CD", 2}}},
      {"break at the end", "AB\r\n", {{"AB", 0}}},
      {"break at the start", "\r\nAB", {{"AB", 1}}},
      {"leading blanks stay", "  AB", {{"  AB", 0}}},
      {"bytes after a NUL", std::string("A\0B\nC", 5), {{std::string("A\0B", 3), 0}, {"C", 1}}},
      {"empty", "", {}},
      {"blank", " \t \r\n ", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas drawn(120, 100, kWhite);
    Canvas expected(120, 100, kWhite);
    ASSERT_TRUE(drawn.Valid() && expected.Valid());
    TitleFont title = CreateTitleFont(drawn.Dc(), 14.0);
    for (Canvas* canvas : {&drawn, &expected}) {
      SelectObject(canvas->Dc(), title.font);
      // Opaque cells make drawn blanks visible.
      SetBkMode(canvas->Dc(), OPAQUE);
      SetBkColor(canvas->Dc(), RGB(0, 200, 0));
      SetTextColor(canvas->Dc(), RGB(0, 0, 0));
    }
    DrawTitleLines(drawn.Dc(), 3, 4, title.height, String(c.text.data(), int(c.text.size())));
    for (const DrawnLine& line : c.lines)
      TextOutA(expected.Dc(), 3, 4 + line.line * title.height, line.text.data(),
               int(line.text.size()));
    EXPECT_EQ(drawn.Pixels(), expected.Pixels());
    if (c.lines.empty()) {
      EXPECT_EQ(drawn.Pixels(), std::vector<COLORREF>(120 * 100, kWhite));
    }
    for (Canvas* canvas : {&drawn, &expected})
      SelectObject(canvas->Dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(title.font);
  }
}

// Paints the title's pixels the way the window should look: the shadow's copy (when shadow is
// not 0), then the text, with the fitted font.
void PaintReference(Canvas& canvas, const String& title, int shadow) {
  TitleFont font = FitTitleFont(canvas.Dc(), canvas.Width(), title);
  HGDIOBJ previous = SelectObject(canvas.Dc(), font.font);
  SetBkMode(canvas.Dc(), TRANSPARENT);
  int lines = 0;
  for (const char* line : {"Quorvex", "Setup"}) {
    if (shadow != 0) {
      SetTextColor(canvas.Dc(), RGB(0, 0, 0));
      TextOutA(canvas.Dc(), 2 + shadow, shadow + lines * font.height, line, lstrlenA(line));
    }
    ++lines;
  }
  lines = 0;
  for (const char* line : {"Quorvex", "Setup"}) {
    SetTextColor(canvas.Dc(), kRed);
    TextOutA(canvas.Dc(), 2, lines++ * font.height, line, lstrlenA(line));
  }
  SelectObject(canvas.Dc(), previous);
  DeleteObject(font.font);
}

class PaintTitleTest : public testing::Test {
 protected:
  void SetUp() override {
    savedTitle_ = DisplayTitle;
    savedColour_ = TitleColor;
    savedShadow_ = TitleShadow;
    TitleColor = kRed;
  }
  void TearDown() override {
    DisplayTitle = savedTitle_;
    TitleColor = savedColour_;
    TitleShadow = savedShadow_;
  }

 private:
  String savedTitle_;
  uint32_t savedColour_ = 0;
  uint8_t savedShadow_ = 0;
};

TEST_F(PaintTitleTest, DrawsTheShadowOffsetRightAndDownBehindTheText) {
  DisplayTitle = "Quorvex\r\nSetup";
  for (int shadow : {0, 1, 3}) {
    SCOPED_TRACE(shadow);
    TitleShadow = uint8_t(shadow);
    Canvas painted(300, 120, kWhite);
    Canvas expected(300, 120, kWhite);
    ASSERT_TRUE(painted.Valid() && expected.Valid());
    PaintTitle(painted.Dc(), painted.Rect());
    PaintReference(expected, DisplayTitle, shadow);
    std::vector<COLORREF> pixels = painted.Pixels();
    EXPECT_EQ(pixels, expected.Pixels());
    int red = 0;
    int black = 0;
    for (COLORREF p : pixels) {
      red += p == kRed;
      black += p == RGB(0, 0, 0);
    }
    EXPECT_GT(red, 50);
    if (shadow == 0) {
      EXPECT_EQ(black, 0);
    } else {
      EXPECT_GT(black, 10 * shadow);
    }
  }
}

TEST_F(PaintTitleTest, ABlankTitlePaintsNothing) {
  TitleShadow = 3;
  for (const char* title : {"", " ", "\r\n", " \t\r\n "}) {
    SCOPED_TRACE(testing::PrintToString(title));
    DisplayTitle = title;
    Canvas canvas(100, 60);
    ASSERT_TRUE(canvas.Valid());
    PaintTitle(canvas.Dc(), canvas.Rect());
    EXPECT_EQ(canvas.Pixels(), std::vector<COLORREF>(100 * 60, kUnpainted));
  }
}

// 5,000 arbitrary bytes, NULs and line breaks included: fitted at the smallest size and drawn
// within the canvas.
TEST_F(PaintTitleTest, ALongTitleOfArbitraryBytesIsDrawnAtSixPoints) {
  std::string bytes(5000, '\0');
  uint32_t seed = 77;
  for (char& c : bytes) {
    seed = seed * 1103515245u + 12345u;
    c = char(seed >> 16);
  }
  bytes[0] = 'Q';
  DisplayTitle = String(bytes.data(), int(bytes.size()));
  TitleShadow = 2;
  Canvas canvas(200, 150, kWhite);
  ASSERT_TRUE(canvas.Valid());
  TitleFont fitted = FitTitleFont(canvas.Dc(), canvas.Width(), DisplayTitle);
  EXPECT_EQ(fitted.points, 6.0);
  DeleteObject(fitted.font);
  PaintTitle(canvas.Dc(), canvas.Rect());
  int painted = 0;
  for (COLORREF p : canvas.Pixels()) painted += p != kWhite;
  EXPECT_GT(painted, 0);
  EXPECT_EQ(DisplayTitle.Length(), 5000);
}

}  // namespace
