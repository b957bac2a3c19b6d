#include "core/checksum.h"

#include "core/little_endian.h"

// Out of line, for the reason the decoder is: inlined, it would be compiled for size.
__attribute__((noinline)) uint32_t ArchiveChecksum(const void* data, int n) {
  uint32_t sum = kChecksumSeed;
  if (data == nullptr || n < 1) return sum;
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  int whole = n & ~3;
  for (int i = 0; i < whole; i += 4) {
    sum += LoadU32(bytes + i);
  }
  for (int i = whole; i < n; ++i) sum += uint32_t(int32_t(static_cast<signed char>(bytes[i])));
  return sum + uint32_t(n);
}
