// Encodes arbitrary bytes at a level chosen by the first input byte and decodes the block with
// both decoders and Decompress: every one must give back exactly the input. The block and the
// outputs get exact-size allocations, so that AddressSanitizer sees any overrun.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "archive/decompressor.h"
#include "core/memory.h"
#include "tools/codec/block_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const int level = kFastestLevel + data[0] % kSmallestLevel;
  const char* input = reinterpret_cast<const char*>(data + 1);
  const int inputSize = int(size - 1);

  String encoded = EncodeBlock(input, inputSize, level);
  const int blockSize = encoded.Length();
  uint8_t* block = static_cast<uint8_t*>(std::malloc(size_t(blockSize)));
  std::memcpy(block, encoded.CStr(), size_t(blockSize));

  uint8_t* reference = static_cast<uint8_t*>(std::malloc(size_t(inputSize) + 1));
  uint8_t* fast = static_cast<uint8_t*>(std::malloc(size_t(inputSize) + 1));
  if (!DecompressReference(block, blockSize, reference, inputSize)) std::abort();
  if (!DecompressFast(block, blockSize, fast, inputSize)) std::abort();
  if (std::memcmp(reference, input, size_t(inputSize)) != 0) std::abort();
  if (std::memcmp(fast, input, size_t(inputSize)) != 0) std::abort();

  char* whole = reinterpret_cast<char*>(block);
  int wholeSize = blockSize;
  if (!Decompress(whole, wholeSize) || wholeSize != inputSize) std::abort();
  if (inputSize > 0 && std::memcmp(whole, input, size_t(inputSize)) != 0) std::abort();
  MemFree(whole);

  std::free(reference);
  std::free(fast);
  std::free(block);
  return 0;
}
