// The background's vertical gradient: the system's GradientFill where it exists, and the band
// painter used where it does not.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/ui_transcript.h"
#include "tests/win32/paint_test_support.h"
#include "ui/fill_gradient.h"

namespace {

using paint_test::Canvas;
using paint_test::kUnpainted;

struct ColourPair {
  COLORREF top;
  COLORREF bottom;
};

// Falling, rising, by one unit and unchanged channels.
const ColourPair kPairs[] = {
    {RGB(250, 10, 128), RGB(3, 200, 129)},
    {RGB(0, 255, 7), RGB(255, 0, 7)},
};

// A channel after k of count steps: the share of the distance, truncated toward zero; the
// bottom value once all steps are taken.
int SteppedChannel(int top, int bottom, int k, int count) {
  return k >= count ? bottom : top + (bottom - top) * k / count;
}

COLORREF SteppedColour(const ColourPair& pair, int k, int count) {
  return RGB(SteppedChannel(GetRValue(pair.top), GetRValue(pair.bottom), k, count),
             SteppedChannel(GetGValue(pair.top), GetGValue(pair.bottom), k, count),
             SteppedChannel(GetBValue(pair.top), GetBValue(pair.bottom), k, count));
}

std::string ColourText(COLORREF c) {
  char text[16];
  wsprintfA(text, "%06X", unsigned(c));
  return text;
}

TEST(FillGradientBands, BandsFollowTheSteppingRuleForEveryHeight) {
  constexpr int kWidth = 4;
  // rows: the rectangle's height (its bottom is exclusive, as a client rectangle's is); band
  // and count follow from rows + 1.
  const struct {
    int rows, band, count;
  } cases[] = {
      {0, 1, 1},      {1, 1, 2},      {222, 1, 223},  {223, 1, 224},  {446, 1, 447},
      {447, 2, 224},  {448, 2, 224},  {671, 3, 224},  {673, 3, 224},  {999, 3, 333},
      {1000, 3, 333},
  };
  for (const auto& c : cases) {
    for (const ColourPair& pair : kPairs) {
      SCOPED_TRACE("rows " + std::to_string(c.rows) + " from " + ColourText(pair.top));
      // Two spare columns and band spare rows show how far the painter reaches.
      Canvas canvas(kWidth + 2, c.rows + 3);
      ASSERT_TRUE(canvas.Valid());
      RECT rect = {0, 0, kWidth, c.rows};
      FillGradientBands(canvas.Dc(), rect, pair.top, pair.bottom);
      int bands = (c.rows + c.band - 1) / c.band;
      int failures = 0;
      for (int y = 0; y < canvas.Height() && failures < 5; ++y) {
        COLORREF expected = y < bands * c.band ? SteppedColour(pair, y / c.band + 1, c.count)
                                               : kUnpainted;
        for (int x = 0; x < canvas.Width(); ++x) {
          COLORREF want = x <= kWidth ? expected : kUnpainted;  // one column wider than rect
          if (canvas.Pixel(x, y) == want) continue;
          ADD_FAILURE() << "pixel " << x << "," << y << " is " << ColourText(canvas.Pixel(x, y))
                        << ", expected " << ColourText(want);
          ++failures;
        }
      }
      // Once count bands are painted, the last one holds the bottom colour exactly.
      if (bands >= c.count) {
        EXPECT_EQ(canvas.Pixel(0, c.rows - 1), pair.bottom);
      }
    }
  }
}

void PaintInvertedRectangle() {
  Canvas canvas(4, 4);
  RECT inverted = {0, 3, 4, 1};
  FillGradientBands(canvas.Dc(), inverted, RGB(0, 0, 0), RGB(255, 255, 255));
}

TEST(FillGradientBands, AnInvertedRectangleIsAnInternalError) {
  ClearUiTranscript();
  EXPECT_EXIT(PaintInvertedRectangle(), testing::ExitedWithCode(1), "");
  std::vector<std::string> lines = ReadUiTranscript();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("FATAL ERROR\tInternal Fatal Error\\r\\nModule: fill_gradient.cpp"),
            std::string::npos)
      << lines[0];
  ClearUiTranscript();
}

// GradientFill works with 16-bit channels: the top row is the top colour exactly, and the rows
// below may lag the ideal line by the rounding of one row's share.
TEST(FillGradient, PaintsFromTheTopColourToTheBottomColour) {
  constexpr int kRows = 100;
  for (const ColourPair& pair : kPairs) {
    SCOPED_TRACE(ColourText(pair.top));
    Canvas canvas(8, kRows);
    ASSERT_TRUE(canvas.Valid());
    FillGradient(canvas.Dc(), canvas.Rect(), pair.top, pair.bottom);
    for (int y : {0, kRows / 2, kRows - 1}) {
      SCOPED_TRACE(y);
      for (int x : {0, 7}) {
        COLORREF pixel = canvas.Pixel(x, y);
        const int channels[3][3] = {
            {GetRValue(pair.top), GetRValue(pair.bottom), GetRValue(pixel)},
            {GetGValue(pair.top), GetGValue(pair.bottom), GetGValue(pixel)},
            {GetBValue(pair.top), GetBValue(pair.bottom), GetBValue(pixel)},
        };
        for (const auto& ch : channels) {
          int distance = ch[1] - ch[0];
          int ideal = ch[0] + distance * y / (kRows - 1);
          int tolerance = y == 0 ? 0 : std::abs(distance) / kRows + 1;
          EXPECT_LE(std::abs(ch[2] - ideal), tolerance)
              << "pixel " << ColourText(pixel) << " at " << x;
        }
      }
    }
  }
}

TEST(FillGradient, EqualColoursPaintOneFlatColour) {
  Canvas canvas(5, 50);
  ASSERT_TRUE(canvas.Valid());
  FillGradient(canvas.Dc(), canvas.Rect(), RGB(9, 99, 199), RGB(9, 99, 199));
  for (COLORREF pixel : canvas.Pixels()) ASSERT_EQ(pixel, RGB(9, 99, 199));
}

}  // namespace
