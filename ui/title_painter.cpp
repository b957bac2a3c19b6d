#include "ui/title_painter.h"

#include "config/language_strings.h"
#include "config/settings.h"
#include "ui/title_height.h"

namespace {

constexpr char kTitleFace[] = "Times New Roman";
constexpr int kBold = 700;
// The text's left edge; the shadow keeps this margin plus its own offset.
constexpr int kTitleMargin = 2;
constexpr COLORREF kShadowColour = 0;

bool IsTrailingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

TitleFont CreateTitleFont(HDC dc, double points) {
  int height = TitleFontHeight(GetDeviceCaps(dc, LOGPIXELSY), points);
  HFONT font = CreateFontA(height, 0, 0, 0, kBold, TRUE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 0, kTitleFace);
  return TitleFont{font, height, points};
}

TitleFont FitTitleFont(HDC dc, int clientWidth, const String& text) {
  for (double points = kLargestTitlePoints;; points -= 1.0) {
    TitleFont title = CreateTitleFont(dc, points);
    if (points <= kSmallestTitlePoints) return title;
    HGDIOBJ previous = SelectObject(dc, title.font);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text.CStr(), text.Length(), &extent);
    SelectObject(dc, previous);
    if (extent.cx + kTitleMargin < clientWidth) return title;
    DeleteObject(title.font);
  }
}

void DrawTitleLines(HDC dc, int x, int y, int lineHeight, const String& text) {
  const char* chars = text.CStr();
  for (int start = 0; start < text.Length(); y += lineHeight) {
    int next = text.FindLineEnd(start, 0);
    if (next < 0) next = text.Length();
    int end = next;
    while (end > start && IsTrailingBlank(chars[end - 1])) --end;
    if (end > start) TextOutA(dc, x, y, chars + start, end - start);
    start = next;
  }
}

void PaintTitle(HDC dc, const RECT& client) {
  if (DisplayTitle.IsBlank()) return;
  TitleFont title = FitTitleFont(dc, client.right - client.left, DisplayTitle);
  HGDIOBJ previous = SelectObject(dc, title.font);
  SetBkMode(dc, TRANSPARENT);
  if (TitleShadow != 0) {
    SetTextColor(dc, kShadowColour);
    DrawTitleLines(dc, TitleShadow + kTitleMargin, TitleShadow, title.height, DisplayTitle);
  }
  SetTextColor(dc, TitleColor);
  DrawTitleLines(dc, kTitleMargin, 0, title.height, DisplayTitle);
  SelectObject(dc, previous);
  DeleteObject(title.font);
}
