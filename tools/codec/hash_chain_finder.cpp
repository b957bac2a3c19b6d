#include "tools/codec/hash_chain_finder.h"

namespace codec {
namespace {

constexpr int32_t kNone = -1;

int HashBitsFor(int64_t size) {
  int bits = 10;
  while (bits < 22 && (int64_t(1) << bits) < size) ++bits;
  return bits;
}

}  // namespace

HashChainFinder::HashChainFinder(const uint8_t* data, int64_t size, int maxChain, int niceLength,
                                 const DecodeCharges& charges)
    : data_(data),
      size_(size),
      maxChain_(maxChain),
      niceLength_(niceLength),
      charges_(charges),
      hashBits_(HashBitsFor(size)),
      heads_(size_t(1) << hashBits_, kNone),
      previous_(size > 0 ? size_t(size) : 0, kNone) {}

void HashChainFinder::Insert(int64_t position) {
  if (size_ - position < 4) return;
  const uint32_t hash = (Load32(data_ + position) * 2654435761u) >> (32 - hashBits_);
  previous_[size_t(position)] = heads_[hash];
  heads_[hash] = int32_t(position);
}

Match HashChainFinder::Find(int64_t position) const {
  Match best;
  const int64_t left = size_ - position;
  if (left < 4) return best;
  const uint8_t* current = data_ + position;
  const uint32_t hash = (Load32(current) * 2654435761u) >> (32 - hashBits_);
  int64_t bestSaving = 0;
  int64_t shortestPeriod = 0;
  int64_t candidate = heads_[hash];
  for (int links = maxChain_; candidate != kNone && links > 0; --links) {
    const int64_t distance = position - candidate;
    if (distance >= kMinCopyDistance) {
      const int64_t cap = distance < left ? distance : left;
      // A quick reject: the byte that would make this copy longer than the best so far.
      if (best.length < cap && data_[candidate + best.length] == current[best.length]) {
        // One byte past the cap tells whether the data repeats with this period.
        const int64_t length = MatchLength(data_ + candidate, current, cap < left ? cap + 1 : left);
        if (length > distance && shortestPeriod == 0) shortestPeriod = distance;
        const Match found{int32_t(length < cap ? length : cap), int32_t(distance)};
        const int64_t saving = CopySaving(found, charges_);
        if (saving > bestSaving) {
          bestSaving = saving;
          best = found;
          if (best.length >= niceLength_) break;
        }
      }
    }
    candidate = previous_[size_t(candidate)];
  }
  if (shortestPeriod == 0 && left >= 8) {
    for (int64_t period = 1; period < kMinCopyDistance && period <= position; ++period) {
      if (Load32(current) == Load32(current - period) && current[4] == current[4 - period]) {
        shortestPeriod = period;
        break;
      }
    }
  }
  if (shortestPeriod != 0) {
    const Match periodic = LongestPeriodicCopy(data_, position, left, shortestPeriod);
    if (CopySaving(periodic, charges_) > bestSaving) best = periodic;
  }
  return best;
}

}  // namespace codec
