// Manifest texts are UTF-8 (TOML requires it); the engine shows 8-bit text in the Windows-1252
// code page of the systems it targets.
#include <cstdint>
#include <cstdio>

#include "tools/qorv/manifest.h"

namespace {

// The code points Windows-1252 places in 0x80 .. 0x9F, by byte.
const uint32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool ToByte(uint32_t codePoint, char& byte) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    byte = char(codePoint);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == codePoint) {
      byte = char(0x80 + i);
      return true;
    }
  }
  return false;
}

}  // namespace

bool Utf8ToWindows1252(const std::string& utf8, std::string& out, std::string& error) {
  out.clear();
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + size_t(extra) >= utf8.size() + (extra == 0 ? 1 : 0)) {
      error = "the text is not valid UTF-8";
      return false;
    }
    uint32_t codePoint = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + size_t(k)]);
      if ((next & 0xC0) != 0x80) {
        error = "the text is not valid UTF-8";
        return false;
      }
      codePoint = codePoint << 6 | (next & 0x3F);
    }
    char byte = 0;
    if (!ToByte(codePoint, byte)) {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", unsigned(codePoint));
      error = std::string("the character ") + name + " has no place in the Windows-1252 code page";
      return false;
    }
    out += byte;
    i += size_t(extra) + 1;
  }
  return true;
}
