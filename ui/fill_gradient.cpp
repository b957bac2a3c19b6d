#include "ui/fill_gradient.h"

#include "core/fatal.h"
#include "platform/shell.h"

namespace {

constexpr char kModuleName[] = "fill_gradient.cpp";

// Above this many pixel rows the bands grow from 1 to 2 and then 3 pixels, so that a tall
// window still needs only a few hundred brushes.
constexpr int kRowsPerBandStep = 224;
constexpr int kMaxBandHeight = 3;

using GradientFillFunction = BOOL(WINAPI*)(HDC, TRIVERTEX*, ULONG, void*, ULONG, ULONG);

GradientFillFunction SystemGradientFill() {
  static bool lookedUp = false;
  static GradientFillFunction function = nullptr;
  if (!lookedUp) {
    lookedUp = true;
    LoadFunctionAs("msimg32.dll", "GradientFill", &function);
  }
  return function;
}

// One colour channel walked from its top value to its bottom value in count even steps: the
// integer quotient each step, plus one unit whenever the accumulated remainder reaches count.
// After count steps it holds the bottom value exactly and stays there: a rectangle can leave
// room for one band more than count, which would otherwise step past the bottom colour and, at
// 0 or 255, out of the channel's range.
class ChannelStepper {
 public:
  ChannelStepper(int from, int to, int count)
      : value_(from), count_(count), quotient_((to - from) / count),
        remainder_((to - from) % count), direction_(to < from ? -1 : 1) {
    if (remainder_ < 0) remainder_ = -remainder_;
  }

  void Step() {
    if (steps_ == count_) return;
    ++steps_;
    value_ += quotient_;
    accumulator_ += remainder_;
    if (accumulator_ >= count_) {
      accumulator_ -= count_;
      value_ += direction_;
    }
  }
  int Value() const { return value_; }

 private:
  int value_;
  int count_;
  int quotient_;
  int remainder_;
  int direction_;
  int accumulator_ = 0;
  int steps_ = 0;
};

COLOR16 VertexChannel(BYTE channel) { return COLOR16(channel << 8); }

}  // namespace

void FillGradientBands(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  int height = rect.bottom - rect.top + 1;
  int band = height / kRowsPerBandStep;
  if (band < 1) band = 1;
  if (band > kMaxBandHeight) band = kMaxBandHeight;
  int count = height / band;
  // Only an inverted rectangle (bottom above top) gets here: a caller's fault.
  if (count < 1) InternalFatal(kModuleName, __LINE__);

  ChannelStepper red(GetRValue(top), GetRValue(bottom), count);
  ChannelStepper green(GetGValue(top), GetGValue(bottom), count);
  ChannelStepper blue(GetBValue(top), GetBValue(bottom), count);
  for (int y = rect.top; y < rect.bottom; y += band) {
    red.Step();
    green.Step();
    blue.Step();
    RECT bandRect = {rect.left, y, rect.right + 1, y + band};
    HBRUSH brush = CreateSolidBrush(RGB(red.Value(), green.Value(), blue.Value()));
    FillRect(dc, &bandRect, brush);
    DeleteObject(brush);
  }
}

void FillGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  GradientFillFunction gradientFill = SystemGradientFill();
  if (gradientFill == nullptr) {
    FillGradientBands(dc, rect, top, bottom);
    return;
  }
  TRIVERTEX vertices[2] = {};
  vertices[0].x = rect.left;
  vertices[0].y = rect.top;
  vertices[0].Red = VertexChannel(GetRValue(top));
  vertices[0].Green = VertexChannel(GetGValue(top));
  vertices[0].Blue = VertexChannel(GetBValue(top));
  vertices[1].x = rect.right;
  vertices[1].y = rect.bottom;
  vertices[1].Red = VertexChannel(GetRValue(bottom));
  vertices[1].Green = VertexChannel(GetGValue(bottom));
  vertices[1].Blue = VertexChannel(GetBValue(bottom));
  GRADIENT_RECT joined = {0, 1};
  gradientFill(dc, vertices, 2, &joined, 1, GRADIENT_FILL_RECT_V);
}
