// Helpers of the painting tests: a memory canvas whose pixels can be read back, and small
// device-independent bitmaps built in memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace paint_test {

// A colour no painter in these tests uses: pixels still holding it were not painted.
constexpr COLORREF kUnpainted = RGB(0x12, 0x34, 0x56);

// A 32-bit top-down DIB section selected into a memory DC, filled with a colour.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = kUnpainted) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                               nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    Fill(fill);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Valid() const { return dc_ != nullptr && bits_ != nullptr; }
  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  RECT Rect() const { return RECT{0, 0, width_, height_}; }

  void Fill(COLORREF colour) {
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = ToPixel(colour);
  }

  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

  // Every pixel, row by row, for comparing two paintings.
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> all;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) all.push_back(Pixel(x, y));
    return all;
  }

 private:
  static uint32_t ToPixel(COLORREF c) {
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
  }

  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
};

inline void PutU16(std::string& b, size_t at, uint16_t v) {
  b[at] = char(v & 0xFF);
  b[at + 1] = char(v >> 8);
}

inline void PutU32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A 24-bit picture with a 40-byte information header; rows[0] is the top row. Stored bottom-up
// (positive height) unless topDown.
inline std::string Picture24(const std::vector<std::vector<COLORREF>>& rows, bool topDown = false) {
  int height = int(rows.size());
  int width = int(rows[0].size());
  int stride = (width * 3 + 3) / 4 * 4;
  std::string b(40 + size_t(stride) * height, '\0');
  PutU32(b, 0, 40);
  PutU32(b, 4, uint32_t(width));
  PutU32(b, 8, uint32_t(topDown ? -height : height));
  PutU16(b, 12, 1);
  PutU16(b, 14, 24);
  for (int row = 0; row < height; ++row) {
    int stored = topDown ? row : height - 1 - row;
    for (int x = 0; x < width; ++x) {
      size_t at = 40 + size_t(stored) * stride + size_t(x) * 3;
      b[at] = char(GetBValue(rows[row][x]));
      b[at + 1] = char(GetGValue(rows[row][x]));
      b[at + 2] = char(GetRValue(rows[row][x]));
    }
  }
  return b;
}

}  // namespace paint_test
