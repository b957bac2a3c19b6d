// Decodes arbitrary blocks with both decoders: they must agree on success or failure and, on
// success, on every output byte; neither may read or write outside its buffers. The block and the
// output each get their own exact-size allocation, so that AddressSanitizer sees any overrun.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "archive/decompressor.h"
#include "core/memory.h"

namespace {

// Blocks of a few bytes can claim any size up to 2 GB; larger outputs add nothing but time.
constexpr int kMaxOutput = 1 << 20;

// The first input byte, when the fuzzer chooses, replaces the claimed size by a small one, so
// that arbitrary streams reach the end of their output instead of failing on a huge size.
void MaybeShrinkClaimedSize(uint8_t* block, size_t size, uint8_t choice) {
  if (size < 8 || (choice & 1) == 0) return;
  const uint32_t claimed = choice >> 1;
  std::memcpy(block + 4, &claimed, 4);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const uint8_t choice = data[0];
  const size_t blockSize = size - 1;
  uint8_t* block = static_cast<uint8_t*>(std::malloc(blockSize ? blockSize : 1));
  if (blockSize) std::memcpy(block, data + 1, blockSize);
  MaybeShrinkClaimedSize(block, blockSize, choice);

  int outputSize = 0;
  if (!ReadBlockHeader(block, int(blockSize), outputSize)) {
    if (DecompressReference(block, int(blockSize), nullptr, 0)) std::abort();
    if (DecompressFast(block, int(blockSize), nullptr, 0)) std::abort();
  } else if (outputSize <= kMaxOutput) {
    // Exactly outputSize bytes (AddressSanitizer gives a size of 0 a block of its own too).
    uint8_t* reference = static_cast<uint8_t*>(std::malloc(size_t(outputSize)));
    uint8_t* fast = static_cast<uint8_t*>(std::malloc(size_t(outputSize)));
    const bool referenceOk = DecompressReference(block, int(blockSize), reference, outputSize);
    const bool fastOk = DecompressFast(block, int(blockSize), fast, outputSize);
    if (referenceOk != fastOk) std::abort();
    if (referenceOk && std::memcmp(reference, fast, size_t(outputSize)) != 0) std::abort();

    // Decompress itself, over the same block: same verdict and bytes, terminator in place.
    char* whole = reinterpret_cast<char*>(block);
    int wholeSize = int(blockSize);
    const bool wholeOk = Decompress(whole, wholeSize);
    if (wholeOk != referenceOk) std::abort();
    if (wholeOk) {
      if (wholeSize != outputSize) std::abort();
      if (outputSize > 0 && (whole[outputSize] != '\0' ||
                             std::memcmp(whole, reference, size_t(outputSize)) != 0)) {
        std::abort();
      }
      MemFree(whole);
    } else if (whole != reinterpret_cast<char*>(block) || wholeSize != int(blockSize)) {
      std::abort();
    }
    std::free(reference);
    std::free(fast);
  }
  std::free(block);
  return 0;
}
