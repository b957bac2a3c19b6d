#include "tools/codec/binary_tree_finder.h"

namespace codec {
namespace {

constexpr int32_t kNone = -1;

int HashBitsFor(int64_t size) {
  int bits = 10;
  while (bits < 24 && (int64_t(1) << bits) < size) ++bits;
  return bits;
}

}  // namespace

BinaryTreeFinder::BinaryTreeFinder(const uint8_t* data, int64_t size, int maxDepth, int niceLength)
    : data_(data),
      size_(size),
      maxDepth_(maxDepth),
      niceLength_(niceLength),
      hashBits_(HashBitsFor(size)),
      heads_(size_t(1) << hashBits_, kNone),
      children_(size > 0 ? size_t(size) * 2 : 0, kNone) {}

int BinaryTreeFinder::Find(int64_t position, Match* matches) { return Walk(position, matches); }

void BinaryTreeFinder::Skip(int64_t position) { Walk(position, nullptr); }

// Inserts position as the new root of its tree while searching it: the walk descends from the
// old root, and every node passed goes to the new root's smaller or larger side. Compared prefix
// lengths carried down each side (smallerLength, largerLength) skip bytes known to agree.
int BinaryTreeFinder::Walk(int64_t position, Match* matches) {
  const int64_t left = size_ - position;
  if (left < 4) return 0;
  const uint8_t* current = data_ + position;
  const uint32_t hash = (Load32(current) * 2654435761u) >> (32 - hashBits_);
  if (left >= 6) {
    // The walks are bound by memory latency: start loading the next position's first candidate
    // (its head was requested one walk earlier) and the head of the one after it.
    const int32_t next = heads_[(Load32(current + 1) * 2654435761u) >> (32 - hashBits_)];
    if (next != kNone) {
      __builtin_prefetch(data_ + next);
      __builtin_prefetch(&children_[size_t(next) * 2]);
    }
    __builtin_prefetch(&heads_[(Load32(current + 2) * 2654435761u) >> (32 - hashBits_)]);
  }
  int64_t candidate = heads_[hash];
  heads_[hash] = int32_t(position);

  const int64_t lengthLimit = left < niceLength_ ? left : niceLength_;
  int32_t* smallerSlot = &children_[size_t(position) * 2];
  int32_t* largerSlot = &children_[size_t(position) * 2 + 1];
  int64_t smallerLength = 0, largerLength = 0;
  int count = 0;
  int64_t bestLength = kMinCopyLength - 1;
  int64_t shortestPeriod = 0;  // nearest distance whose copy was cut short by the distance
  int depth = maxDepth_;
  for (;;) {
    if (candidate == kNone || depth-- == 0) {
      *smallerSlot = *largerSlot = kNone;
      break;
    }
    const int64_t distance = position - candidate;
    const uint8_t* before = data_ + candidate;
    int64_t length = smallerLength < largerLength ? smallerLength : largerLength;
    length += MatchLength(before + length, current + length, lengthLimit - length);
    if (matches != nullptr && distance >= kMinCopyDistance) {
      int64_t usable = length < distance ? length : distance;
      if (usable == lengthLimit && lengthLimit < left) {
        // The walk compares no further than the nice length; the copy itself may go on.
        const int64_t cap = distance < left ? distance : left;
        usable += MatchLength(before + usable, current + usable, cap - usable);
      }
      if (usable > bestLength && count < kMaxMatches) {
        bestLength = usable;
        matches[count].length = int32_t(usable);
        matches[count].distance = int32_t(distance);
        ++count;
      }
      if (length > distance && (shortestPeriod == 0 || distance < shortestPeriod)) {
        shortestPeriod = distance;
      }
    }
    int32_t* pair = &children_[size_t(candidate) * 2];
    if (length == lengthLimit) {
      // Equal as far as we compare: the candidate's subtrees become the new node's.
      *smallerSlot = pair[0];
      *largerSlot = pair[1];
      break;
    }
    if (before[length] < current[length]) {
      *smallerSlot = int32_t(candidate);
      smallerSlot = &pair[1];
      candidate = *smallerSlot;
      smallerLength = length;
    } else {
      *largerSlot = int32_t(candidate);
      largerSlot = &pair[0];
      candidate = *largerSlot;
      largerLength = length;
    }
  }
  if (matches == nullptr) return 0;

  // Repetitions with a period: also short periods below kMinCopyDistance (a run of "ab").
  if (shortestPeriod == 0 && left >= 8) {
    for (int64_t period = 1; period < kMinCopyDistance && period <= position; ++period) {
      if (Load32(current) == Load32(current - period) && current[4] == current[4 - period]) {
        shortestPeriod = period;
        break;
      }
    }
  }
  if (shortestPeriod != 0 && bestLength < lengthLimit) {
    const Match periodic = LongestPeriodicCopy(data_, position, left, shortestPeriod);
    if (periodic.length > bestLength && count < kMaxMatches) matches[count++] = periodic;
  }
  return count;
}

}  // namespace codec
