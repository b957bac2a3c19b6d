// The smallest level: a shortest-path parse over the exact bit costs of the tokens. The input
// is cut into segments; within one, every position is reached at its cheapest through literals,
// byte runs and the copies the binary-tree finder offers, and the cheapest path to the segment's
// end is written out. A copy or run of at least the nice length is taken as soon as it is seen.
#pragma once

#include <cstdint>

#include "tools/codec/token_costs.h"
#include "tools/codec/token_writer.h"

namespace codec {

struct OptimalParseSettings {
  int maxDepth;    // candidates per position in the match finder
  int niceLength;  // a copy or run this long is taken without weighing alternatives
  DecodeCharges charges;
};

void ParseOptimal(const uint8_t* data, int64_t size, const OptimalParseSettings& settings,
                  TokenWriter& out);

}  // namespace codec
