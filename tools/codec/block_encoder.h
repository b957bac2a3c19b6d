// The block encoder: turns bytes into a block that the engine's decompressor expands back.
// It never emits a copy that overlaps its own output (distance >= length), never a copy
// shorter than 4 bytes or nearer than 4, and no token that would pass the block's size.
#pragma once

#include "core/string.h"

// Level 1 is a fast greedy parse; each higher level searches more; kSmallestLevel is an
// optimal parse that minimises the coded size.
inline constexpr int kFastestLevel = 1;
inline constexpr int kSmallestLevel = 9;

// The whole block (8-byte header, then the token stream) for `size` bytes at `data`. Levels
// outside 1 .. kSmallestLevel are clamped. size 0 gives the 8-byte header alone.
String EncodeBlock(const char* data, int size, int level);
