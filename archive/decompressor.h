// The block decompressor. A block is an 8-byte header (magic, uncompressed size) and a bit stream
// of three kinds of token: a run of literal bytes, a run of one repeated byte, and a copy of
// earlier output. A block decodes as a whole into one buffer; there is no streaming.
#pragma once

#include <cstdint>

class String;

// Bytes A1 2B C7 9E at the start of every block; anything else is not a block.
inline constexpr uint32_t kBlockMagic = 0x9EC72BA1;
inline constexpr int kBlockHeaderSize = 8;

// Decodes the block of blockSize bytes (header included) into data, or fails. On success data
// designates a new buffer from MemAllocate holding the output and a terminating 0 byte, and size
// its length; an empty output comes back as a null buffer with size 0. The caller owns the new
// buffer and still owns the block. On failure data and size are unchanged.
// Fails on a null block, a block shorter than its header, a wrong magic, a negative size, an
// output buffer that cannot be allocated (a damaged size must not end the process), and every
// malformed stream: one that ends early, a copy reaching before the output or overlapping its
// destination, a token that would overshoot the size.
bool Decompress(char*& data, int& size);

// Decompress over the bytes of text: on success text holds the output (the compressed bytes are
// released); on failure text is unchanged.
bool DecompressString(String& text);

// The two decoders behind Decompress, for tests. Each decodes a whole block (header included)
// whose header gives an uncompressed size equal to outputSize, filling output[0 .. outputSize).
// They fail on the same blocks and produce the same bytes: DecompressReference reads one bit at
// a time and is the definition; DecompressFast is what Decompress runs. On failure the contents
// of output are unspecified.
bool DecompressReference(const uint8_t* block, int blockSize, uint8_t* output, int outputSize);
bool DecompressFast(const uint8_t* block, int blockSize, uint8_t* output, int outputSize);

// Checks the header of a block and returns its uncompressed size: false for a null or short
// block, a wrong magic or a negative size.
bool ReadBlockHeader(const uint8_t* block, int blockSize, int& uncompressedSize);
