// The match finder of the middle levels: for each 4-byte hash, a chain through every earlier
// position with that hash, newest first. A lookup walks a bounded number of links and keeps the
// copy that saves the most bits over literals (a long copy from far back can lose to a shorter
// near one). Memory: 4 bytes per input byte plus the hash heads.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/codec/match.h"

namespace codec {

class HashChainFinder {
 public:
  HashChainFinder(const uint8_t* data, int64_t size, int maxChain, int niceLength,
                  const DecodeCharges& charges);

  // Adds position to its chain; positions in increasing order, each at most once.
  void Insert(int64_t position);
  // The best copy starting at position among positions inserted so far (length 0: none).
  Match Find(int64_t position) const;

 private:
  const uint8_t* data_;
  int64_t size_;
  int maxChain_;
  int niceLength_;
  DecodeCharges charges_;
  int hashBits_;
  std::vector<int32_t> heads_;
  std::vector<int32_t> previous_;
};

// Bits a copy saves over sending its bytes as literals, less what it costs the decoder; may be
// negative.
inline int64_t CopySaving(const Match& match, const DecodeCharges& charges) {
  return match.length < kMinCopyLength
             ? 0
             : 8 * int64_t(match.length) - CopyBits(match.length, match.distance) -
                   charges.Copy(match.distance);
}

}  // namespace codec
