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
