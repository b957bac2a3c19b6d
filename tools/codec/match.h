// A copy the match finders offer: length bytes from distance back. Lengths are already capped at
// the distance, because the format has no overlapping copies.
#pragma once

#include <cstdint>

#include "tools/codec/match_length.h"
#include "tools/codec/token_costs.h"

namespace codec {

struct Match {
  int32_t length = 0;
  int32_t distance = 0;
};

// Data that repeats with a short period (distance below the length it matches over) can only be
// copied from farther back: a copy from k periods back may be k periods long. Tries the
// distances 2, 4, 8 ... periods back and returns the longest copy among them (length 0 when
// none reaches kMinCopyLength). limit is the bytes left in the input from position.
inline Match LongestPeriodicCopy(const uint8_t* data, int64_t position, int64_t limit,
                                 int64_t period) {
  Match best;
  for (int64_t distance = 2 * period; distance <= position; distance *= 2) {
    const int64_t cap = distance < limit ? distance : limit;
    const int64_t length = MatchLength(data + position, data + position - distance, cap);
    if (length > best.length && length >= kMinCopyLength) {
      best.length = int32_t(length);
      best.distance = int32_t(distance);
    }
    if (length < cap) break;  // the repetition does not reach this far back
  }
  return best;
}

}  // namespace codec
