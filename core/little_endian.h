// Little-endian numbers at any byte address, whatever the host's byte order or alignment: the
// archive and the Windows file formats store every number this way.
#pragma once

#include <cstdint>

inline uint16_t LoadU16(const void* at) {
  const uint8_t* p = static_cast<const uint8_t*>(at);
  return uint16_t(p[0] | p[1] << 8);
}

inline uint32_t LoadU32(const void* at) {
  const uint8_t* p = static_cast<const uint8_t*>(at);
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline uint64_t LoadU64(const void* at) {
  const uint8_t* p = static_cast<const uint8_t*>(at);
  return uint64_t(LoadU32(p)) | uint64_t(LoadU32(p + 4)) << 32;
}

// The first `width` bytes (0 to 8) as an unsigned number.
inline uint64_t LoadLittleEndian(const void* at, int width) {
  const uint8_t* p = static_cast<const uint8_t*>(at);
  uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

// Stores the low `width` bytes (0 to 8) of value.
inline void StoreLittleEndian(void* at, uint64_t value, int width) {
  uint8_t* p = static_cast<uint8_t*>(at);
  for (int i = 0; i < width; ++i) p[i] = uint8_t(value >> (8 * i));
}

inline void StoreU16(void* at, uint16_t value) { StoreLittleEndian(at, value, 2); }
inline void StoreU32(void* at, uint32_t value) { StoreLittleEndian(at, value, 4); }
inline void StoreU64(void* at, uint64_t value) { StoreLittleEndian(at, value, 8); }
