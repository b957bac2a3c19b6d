// The product's title on the background window: large bold italic serif type in the upper left
// corner, sized to fit the window's width, with an optional black drop shadow.
#pragma once

#include <windows.h>

#include "core/string.h"

// Sizes tried for the title, largest first, one point apart; at the smallest the title is drawn
// whether it fits or not.
inline constexpr double kLargestTitlePoints = 26.0;
inline constexpr double kSmallestTitlePoints = 6.0;

struct TitleFont {
  HFONT font;     // the caller deletes it
  int height;     // pixels: the distance between the title's lines
  double points;
};

// The title's typeface at points on dc's vertical resolution (truncated to whole pixels).
TitleFont CreateTitleFont(HDC dc, double points);

// The largest size from 26 down to 7 points at which text, measured in one piece (line breaks
// included), plus 2 pixels is narrower than clientWidth; 6 points when none is.
TitleFont FitTitleFont(HDC dc, int clientWidth, const String& text);

// Draws text line by line from (x, y) with the selected font and colours, each line lineHeight
// below the one before. A line ends behind a LF, CR, CR LF or LF CR; its trailing blanks, tabs,
// CR and LF are not drawn; an empty line draws nothing but still takes its height.
void DrawTitleLines(HDC dc, int x, int y, int lineHeight, const String& text);

// The window's foreground: DisplayTitle fitted to client's width, first its shadow
// (TitleShadow pixels right and down of the text, in black) and then the text in TitleColor,
// 2 pixels from the left edge. A blank title draws nothing.
void PaintTitle(HDC dc, const RECT& client);
