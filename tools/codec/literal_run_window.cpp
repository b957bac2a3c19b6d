#include "tools/codec/literal_run_window.h"

namespace codec {
namespace {

// Run lengths of class k: [Shortest(k), Longest(k)], header bits 4 + 3k.
int64_t Shortest(int k) { return k == 0 ? 1 : (int64_t(1) << (2 * k)) + 1; }
int64_t Longest(int k) { return int64_t(1) << (2 * k + 2); }

}  // namespace

LiteralRunWindow::LiteralRunWindow(int64_t maxSpan) : prices_(size_t(maxSpan) + 1, kNoPrice) {
  for (Queue& queue : queues_) queue.starts.resize(size_t(maxSpan) + 1);
}

void LiteralRunWindow::Reset() {
  for (Queue& queue : queues_) queue.head = queue.tail = 0;
  offered_ = 0;
}

void LiteralRunWindow::Offer(int64_t position, uint64_t price) {
  prices_[size_t(position)] = price;
  offered_ = position + 1;
}

uint64_t LiteralRunWindow::Cheapest(int64_t end, int64_t& start) {
  uint64_t best = kNoPrice;
  for (int k = 0; k < kClasses; ++k) {
    Queue& queue = queues_[k];
    // The start that enters this class's window now: a run of exactly Shortest(k) bytes.
    const int64_t entering = end - Shortest(k);
    if (entering >= 0 && entering < offered_ && prices_[size_t(entering)] != kNoPrice) {
      const int64_t base = Base(entering);
      while (queue.tail > queue.head && Base(queue.starts[size_t(queue.tail - 1)]) >= base) {
        --queue.tail;
      }
      queue.starts[size_t(queue.tail++)] = int32_t(entering);
    }
    const int64_t oldest = end - Longest(k);
    while (queue.tail > queue.head && queue.starts[size_t(queue.head)] < oldest) ++queue.head;
    if (queue.tail > queue.head) {
      const int64_t candidate = queue.starts[size_t(queue.head)];
      const uint64_t price = uint64_t(Base(candidate) + 8 * end + 4 + 3 * k);
      if (price < best) {
        best = price;
        start = candidate;
      }
    }
  }
  return best;
}

}  // namespace codec
