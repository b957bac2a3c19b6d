// The cheapest literal run that ends at a given position, for the optimal parse. A literal run
// of n bytes costs 8n bits plus a header of 4 + 3k bits, k being the prefix ones of n - 1 in
// N(2, 2); so the header is the same for every n in one of the classes [1, 4], [5, 16],
// [17, 64], ... Runs start where a copy or byte run (or the segment) ends: a run after a run is
// one longer run. For each class a sliding-window minimum over those starts gives the best start
// in O(1) amortised per position, which keeps the literal pricing exact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace codec {

class LiteralRunWindow {
 public:
  static constexpr uint64_t kNoPrice = UINT64_MAX;

  // For segments of at most maxSpan positions.
  explicit LiteralRunWindow(int64_t maxSpan);

  // Forgets every start.
  void Reset();
  // Offers position as a run start whose price before the run is price (kNoPrice: none).
  // Positions are offered in increasing order, each once, before they are looked up.
  void Offer(int64_t position, uint64_t price);
  // The price of the cheapest run that ends at end (exclusive) starting at an offered position
  // below end, and that start; kNoPrice when there is none. Called for end = 1, 2, 3 ... in
  // order, each after every position below it has been offered.
  uint64_t Cheapest(int64_t end, int64_t& start);

 private:
  struct Queue {
    std::vector<int32_t> starts;  // increasing positions with increasing base values
    int64_t head = 0;
    int64_t tail = 0;
  };
  int64_t Base(int64_t start) const { return int64_t(prices_[size_t(start)]) - 8 * start; }

  static constexpr int kClasses = 9;  // runs up to 4^9 bytes, beyond any segment
  std::vector<uint64_t> prices_;
  Queue queues_[kClasses];
  int64_t offered_ = 0;  // positions below this have been offered
};

}  // namespace codec
