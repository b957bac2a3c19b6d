#include "archive/decompressor.h"

#include "core/little_endian.h"
#include "core/memory.h"
#include "core/string.h"

namespace {

// The size comes from the block, which may be damaged: a request that cannot be met is a
// decoding failure, not the out-of-memory end of the process.
char* TryAllocateOutput(int size) {
  bool previous = SetOutOfMemoryHandlerEnabled(false);
  char* buffer = static_cast<char*>(MemAllocate(size_t(size) + 1));
  SetOutOfMemoryHandlerEnabled(previous);
  return buffer;
}

}  // namespace

bool ReadBlockHeader(const uint8_t* block, int blockSize, int& uncompressedSize) {
  if (block == nullptr || blockSize < kBlockHeaderSize) return false;
  if (LoadU32(block) != kBlockMagic) return false;
  int32_t size = int32_t(LoadU32(block + 4));
  if (size < 0) return false;
  uncompressedSize = size;
  return true;
}

bool Decompress(char*& data, int& size) {
  const uint8_t* block = reinterpret_cast<const uint8_t*>(data);
  int outputSize = 0;
  if (!ReadBlockHeader(block, size, outputSize)) return false;
  char* output = TryAllocateOutput(outputSize);
  if (output == nullptr) return false;
  if (!DecompressFast(block, size, reinterpret_cast<uint8_t*>(output), outputSize)) {
    MemFree(output);
    return false;
  }
  output[outputSize] = '\0';
  if (outputSize == 0) {
    MemFree(output);
    output = nullptr;
  }
  data = output;
  size = outputSize;
  return true;
}

bool DecompressString(String& text) {
  char* data = text.Data();
  int size = text.Length();
  if (!Decompress(data, size)) return false;
  text.Adopt(data, size);  // frees the compressed bytes; a null output leaves text empty
  return true;
}
