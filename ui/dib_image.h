// DibImage: a Windows device-independent bitmap held in memory, ready for StretchDIBits. The
// background window's picture comes from the archive header or, for the uninstaller, from the
// picture file the installation left beside it.
//
// Loading never trusts the bytes: a buffer whose header, colour table or pixel rows would reach
// past its end gives an empty image, so drawing can never read outside the buffer.
#pragma once

#include <cstdint>

#include "core/string.h"

class DibImage {
 public:
  // Header sizes this loader understands; a bit-fields header carries three masks behind the
  // information header and counts as kBitFieldsHeaderSize bytes.
  static constexpr int kCoreHeaderSize = 12;
  static constexpr int kInfoHeaderSize = 40;
  static constexpr int kBitFieldsHeaderSize = 52;
  // The first 16-bit word of a bitmap file ("BM") and the size of the file header it starts.
  static constexpr uint16_t kFileMagic = 0x4D42;
  static constexpr int kFileHeaderSize = 14;

  // Replaces the image with the n bytes at data, which start with the bitmap information header
  // (core or information header, colour table, pixels). True when the result is not empty; on
  // any fault the image is empty. n may be 0 and data null.
  bool Load(const char* data, int n);
  bool Load(const String& bytes) { return Load(bytes.CStr(), bytes.Length()); }

  // The same for a whole bitmap file: a 14-byte file header starting with "BM", then the bytes
  // Load takes. The file header's own offset field is not used: the pixels follow the colour
  // table.
  bool LoadBitmapFile(const String& fileBytes);

  void Clear();

  // The image as a bitmap file that LoadBitmapFile reads back: the 14-byte file header ("BM",
  // the file's size, two reserved zero words, the offset of the pixels) and the loaded bytes.
  // Empty for an empty image.
  String BitmapFileBytes() const;

  // Empty when the width is 0 or less (also after every failed load).
  bool IsEmpty() const { return width_ <= 0; }
  int32_t Width() const { return width_; }
  // Negative for an information header that stores its rows top-down.
  int32_t Height() const { return height_; }
  int BitsPerPixel() const { return bitsPerPixel_; }
  int ColourEntries() const { return colourEntries_; }
  int EntrySize() const { return entrySize_; }
  int BitsOffset() const { return bitsOffset_; }

  // The header (a BITMAPINFO or BITMAPCOREINFO) and the pixel bits; null when empty.
  const void* Info() const { return IsEmpty() ? nullptr : buffer_.CStr(); }
  const void* Bits() const { return IsEmpty() ? nullptr : buffer_.CStr() + bitsOffset_; }

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  int bitsPerPixel_ = 0;
  int colourEntries_ = 0;
  int entrySize_ = 0;
  int bitsOffset_ = 0;
  String buffer_;
};
