// Byte comparison helpers shared by the match finders.
#pragma once

#include <cstdint>
#include <cstring>

namespace codec {

inline uint32_t Load32(const uint8_t* p) {
  uint32_t value;
  std::memcpy(&value, p, 4);
  return value;
}

inline uint64_t Load64(const uint8_t* p) {
  uint64_t value;
  std::memcpy(&value, p, 8);
  return value;
}

// How many bytes from a and b agree, at most limit. Reads only a[0 .. limit) and b[0 .. limit).
inline int64_t MatchLength(const uint8_t* a, const uint8_t* b, int64_t limit) {
  int64_t length = 0;
  while (length + 8 <= limit) {
    const uint64_t differ = Load64(a + length) ^ Load64(b + length);
    if (differ != 0) return length + (__builtin_ctzll(differ) >> 3);  // little-endian hosts
    length += 8;
  }
  while (length < limit && a[length] == b[length]) ++length;
  return length;
}

// How many bytes from position equal the byte there, at most limit (>= 1).
inline int64_t RunLength(const uint8_t* p, int64_t limit) {
  const uint64_t pattern = 0x0101010101010101ull * p[0];
  int64_t length = 1;
  while (length + 8 <= limit) {
    const uint64_t differ = Load64(p + length) ^ pattern;
    if (differ != 0) return length + (__builtin_ctzll(differ) >> 3);
    length += 8;
  }
  while (length < limit && p[length] == p[0]) ++length;
  return length;
}

}  // namespace codec
