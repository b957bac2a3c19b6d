#include "ui/dib_image.h"

#include "core/little_endian.h"

namespace {

// Offsets inside the headers (little-endian words).
constexpr int kCoreWidthOffset = 4;        // 16-bit
constexpr int kCoreHeightOffset = 6;       // 16-bit
constexpr int kCoreBitCountOffset = 10;    // 16-bit
constexpr int kInfoWidthOffset = 4;        // 32-bit, signed
constexpr int kInfoHeightOffset = 8;       // 32-bit, signed; negative: rows stored top-down
constexpr int kInfoBitCountOffset = 14;    // 16-bit
constexpr int kInfoCompressionOffset = 16; // 32-bit
constexpr int kInfoColoursUsedOffset = 32; // 32-bit

constexpr int kCoreEntrySize = 3;  // RGBTRIPLE
constexpr int kInfoEntrySize = 4;  // RGBQUAD

constexpr uint32_t kUncompressed = 0;  // BI_RGB
constexpr uint32_t kBitFields = 3;     // BI_BITFIELDS


bool IsDrawableBitCount(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Bytes of pixel data that drawing reads: every row padded to a multiple of 4 bytes. -1 when
// that is more than available (checked row first, so the product cannot overflow). Compressed
// formats (run-length, JPEG, PNG) are refused: how far their decoder reads is decided by the
// data itself, so no size taken from the buffer can bound it.
int64_t PixelBytesNeeded(int64_t width, int64_t height, int bits, uint32_t compression,
                         int64_t available) {
  if (compression == kBitFields && bits != 16 && bits != 32) return -1;
  if (compression != kUncompressed && compression != kBitFields) return -1;
  int64_t rowBytes = (width * bits + 31) / 32 * 4;
  int64_t rows = height < 0 ? -height : height;
  if (rowBytes > available) return -1;
  int64_t total = rowBytes * rows;
  return total <= available ? total : -1;
}

}  // namespace

void DibImage::Clear() {
  width_ = 0;
  height_ = 0;
  bitsPerPixel_ = 0;
  colourEntries_ = 0;
  entrySize_ = 0;
  bitsOffset_ = 0;
  buffer_.Clear();
}

bool DibImage::Load(const char* data, int n) {
  Clear();
  if (data == nullptr || n <= kCoreHeaderSize) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(data);

  int64_t width = 0;
  int64_t height = 0;
  int bits = 0;
  int64_t entries = 0;
  int entrySize = 0;
  int64_t headerBytes = 0;
  uint32_t compression = kUncompressed;
  uint32_t headerSize = LoadU32(p);
  if (headerSize == uint32_t(kCoreHeaderSize)) {
    width = LoadU16(p + kCoreWidthOffset);
    height = LoadU16(p + kCoreHeightOffset);
    bits = LoadU16(p + kCoreBitCountOffset);
    entries = bits < 24 ? int64_t(1) << bits : 0;
    entrySize = kCoreEntrySize;
    headerBytes = kCoreHeaderSize;
  } else if (headerSize == uint32_t(kInfoHeaderSize)) {
    if (n < kInfoHeaderSize) return false;
    width = int32_t(LoadU32(p + kInfoWidthOffset));
    height = int32_t(LoadU32(p + kInfoHeightOffset));
    bits = LoadU16(p + kInfoBitCountOffset);
    entries = LoadU32(p + kInfoColoursUsedOffset);
    if (entries == 0 && bits < 16) entries = int64_t(1) << bits;
    compression = LoadU32(p + kInfoCompressionOffset);
    headerBytes = compression == kBitFields ? kBitFieldsHeaderSize : kInfoHeaderSize;
    entrySize = kInfoEntrySize;
  } else {
    return false;
  }

  if (width <= 0 || !IsDrawableBitCount(bits)) return false;
  int64_t bitsOffset = entrySize * entries + headerBytes;
  if (bitsOffset > n) return false;
  if (PixelBytesNeeded(width, height, bits, compression, n - bitsOffset) < 0) return false;

  buffer_.Assign(data, n);
  width_ = int32_t(width);
  height_ = int32_t(height);
  bitsPerPixel_ = bits;
  colourEntries_ = int(entries);
  entrySize_ = entrySize;
  bitsOffset_ = int(bitsOffset);
  return true;
}

bool DibImage::LoadBitmapFile(const String& fileBytes) {
  Clear();
  if (fileBytes.Length() < kFileHeaderSize) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(fileBytes.CStr());
  if (LoadU16(p) != kFileMagic) return false;
  return Load(fileBytes.CStr() + kFileHeaderSize, fileBytes.Length() - kFileHeaderSize);
}

String DibImage::BitmapFileBytes() const {
  if (IsEmpty()) return String();
  unsigned char header[kFileHeaderSize] = {};
  StoreU16(header, kFileMagic);
  StoreU32(header + 2, uint32_t(kFileHeaderSize + buffer_.Length()));
  StoreU32(header + 10, uint32_t(kFileHeaderSize + bitsOffset_));
  String file(reinterpret_cast<const char*>(header), kFileHeaderSize);
  file += buffer_;
  return file;
}
