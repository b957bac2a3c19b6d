// The middle levels: hash-chain search with lazy matching. Before taking the best token at a
// position, the parser looks one position further (two at the higher levels) and sends a
// literal instead when a token starting there saves more bits.
#pragma once

#include <cstdint>

#include "tools/codec/token_writer.h"

namespace codec {

struct LazyParseSettings {
  int maxChain;    // links followed per lookup
  int niceLength;  // a copy this long ends the lookup
  int lookahead;   // positions looked past the current one before deciding: 0, 1 or 2
};

void ParseLazy(const uint8_t* data, int64_t size, const LazyParseSettings& settings,
               TokenWriter& out);

}  // namespace codec
