// The block encoder: turns bytes into a block that the engine's decompressor expands back.
// It never emits a copy that overlaps its own output (distance >= length), never a copy
// shorter than 4 bytes or nearer than 4, and no token that would pass the block's size.
#pragma once

#include "core/string.h"

// Level 1 is a fast greedy parse; levels 2 .. 6 a lazy parse over hash chains that search more
// as the level rises; levels 7 .. 9 an optimal parse over binary trees. Level 7 weighs decoding
// time as well as size: each token and each copy from far back (beyond what the decoder's caches
// hold) is charged a few bits more than it costs, so that it gives up some size for many fewer
// tokens and cache misses. Levels 8 and 9 weigh size alone; kSmallestLevel searches deepest and
// makes the smallest blocks. Levels 1 .. 6 charge tokens too, to turn down copies that save a
// bit or two, which a parse that cannot look ahead gains little from.
// Levels 2 .. 6 keep a hash chain (4 bytes per input byte), 7 .. 9 binary trees (8 bytes per
// input byte); every level also builds the block in memory (about the input's size at most).
// The window is the whole input: copies reach back to its first byte.
inline constexpr int kFastestLevel = 1;
inline constexpr int kSmallestLevel = 9;

// The whole block (8-byte header, then the token stream) for `size` bytes at `data`. Levels
// outside 1 .. kSmallestLevel are clamped. size 0 (or a negative size) gives the 8-byte header
// alone. The result depends only on the bytes and the level. Random data grows by a few bytes
// only (one literal run); a block that would not fit in a String (inputs near 2 GB that do not
// compress) comes back empty.
String EncodeBlock(const char* data, int size, int level);
