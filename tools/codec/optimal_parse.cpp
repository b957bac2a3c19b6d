#include "tools/codec/optimal_parse.h"

#include <cstddef>
#include <vector>

#include "tools/codec/binary_tree_finder.h"
#include "tools/codec/literal_run_window.h"
#include "tools/codec/match_length.h"
#include "tools/codec/token_costs.h"

namespace codec {
namespace {

// Positions per shortest-path pass. A path must end at the segment's end, which costs at most
// one extra token per segment; the arrays stay small enough for the cache.
constexpr int64_t kSegmentLength = 1 << 16;
constexpr uint64_t kUnreached = LiteralRunWindow::kNoPrice;

// The two cheapest ways to reach a position: with a copy or byte run as the last token, and with
// a literal run as the last token. They are kept apart because only the first may be followed
// by a new literal run.
struct Arrival {
  uint64_t tokenBits = kUnreached;
  int32_t length = 0;           // of that copy or run
  int32_t distance = 0;         // > 0 copy, -1 byte run
  bool afterLiterals = false;   // the copy or run followed a literal run
  uint64_t literalBits = kUnreached;
  int64_t literalStart = -1;    // where that literal run began; -1: it continues the carried run

  uint64_t Best() const { return tokenBits < literalBits ? tokenBits : literalBits; }
};

class OptimalParser {
 public:
  OptimalParser(const uint8_t* data, int64_t size, const OptimalParseSettings& settings,
                TokenWriter& out)
      : data_(data),
        size_(size),
        nice_(settings.niceLength),
        charges_(settings.charges),
        finder_(data, size, settings.maxDepth, settings.niceLength),
        out_(out),
        arrivals_(size_t(kSegmentLength) + 1),
        literalRuns_(kSegmentLength) {}

  void Run() {
    int64_t start = 0;
    int64_t carriedLiterals = 0;
    while (start < size_) start = ParseSegment(start, carriedLiterals);
  }

 private:
  void RelaxToken(int64_t to, uint64_t bits, int64_t length, int32_t distance, bool afterLiterals) {
    Arrival& arrival = arrivals_[size_t(to)];
    if (bits < arrival.tokenBits) {
      arrival.tokenBits = bits;
      arrival.length = int32_t(length);
      arrival.distance = distance;
      arrival.afterLiterals = afterLiterals;
    }
  }

  // Parses from start to the segment's end or to a nice token; returns where the next segment
  // begins. carriedLiterals: literals just before start that the next run would continue (the
  // writer merges them), updated for the next segment.
  int64_t ParseSegment(int64_t start, int64_t& carriedLiterals) {
    const int64_t span = size_ - start < kSegmentLength ? size_ - start : kSegmentLength;
    for (int64_t i = 0; i <= span; ++i) arrivals_[size_t(i)] = Arrival();
    literalRuns_.Reset();
    const int64_t carried = carriedLiterals;
    const int carriedHeader = carried > 0 ? LiteralHeaderBits(carried) : 0;
    if (carried > 0) {
      arrivals_[0].literalBits = 0;
    } else {
      arrivals_[0].tokenBits = 0;
    }

    for (int64_t i = 0; i <= span; ++i) {
      Arrival& here = arrivals_[size_t(i)];
      if (i > 0) {
        int64_t runStart = -1;
        uint64_t bits = literalRuns_.Cheapest(i, runStart);
        if (carried > 0) {
          // Continuing the carried run: its bytes and the growth of its header.
          const uint64_t continued = uint64_t(8 * i + LiteralHeaderBits(carried + i) - carriedHeader);
          if (continued < bits) {
            bits = continued;
            runStart = -1;
          }
        }
        here.literalBits = bits;
        here.literalStart = runStart;
      }
      literalRuns_.Offer(i, here.tokenBits);
      if (i == span) break;

      const int64_t position = start + i;
      const bool afterLiterals = here.literalBits < here.tokenBits;
      const uint64_t base = here.Best();
      const int64_t room = span - i;  // tokens end inside the segment

      const uint8_t* p = data_ + position;
      if (size_ - position >= kMinByteRun && p[0] == p[1] && p[1] == p[2]) {
        const int64_t run = RunLength(p, size_ - position);
        if (run >= nice_) {
          finder_.Skip(position);
          carriedLiterals = 0;
          return TakeLongToken(start, i, -1, run);
        }
        const int64_t longest = run < room ? run : room;
        for (int64_t length = kMinByteRun; length <= longest; ++length) {
          RelaxToken(i + length, base + ByteRunBits(length) + charges_.ByteRun(), length, -1,
                     afterLiterals);
        }
      }

      const int count = finder_.Find(position, matches_);
      if (count > 0 && matches_[count - 1].length >= nice_) {
        const Match& longest = matches_[count - 1];
        carriedLiterals = 0;
        return TakeLongToken(start, i, longest.distance, longest.length);
      }
      int64_t length = kMinCopyLength;
      for (int m = 0; m < count; ++m) {
        const int64_t distance = matches_[m].distance;
        const int64_t longest = matches_[m].length < room ? matches_[m].length : room;
        const uint64_t distanceBits =
            base + 2 + CopyDistanceBits(distance) + charges_.Copy(distance);
        for (; length <= longest; ++length) {
          RelaxToken(i + length, distanceBits + CopyLengthBits(length), length, int32_t(distance),
                     afterLiterals);
        }
      }
    }
    const Arrival& end = arrivals_[size_t(span)];
    const bool endsInLiterals = end.literalBits < end.tokenBits;
    WritePath(start, span, endsInLiterals);
    if (!endsInLiterals) {
      carriedLiterals = 0;
    } else if (end.literalStart < 0) {
      carriedLiterals = carried + span;
    } else {
      carriedLiterals = span - end.literalStart;
    }
    return start + span;
  }

  // Writes the cheapest path to arrival `end` (which, the token being long, is taken as it is
  // best reached), then the long token found there, and moves the finder past the token.
  int64_t TakeLongToken(int64_t start, int64_t end, int32_t distance, int64_t length) {
    const Arrival& here = arrivals_[size_t(end)];
    WritePath(start, end, here.literalBits < here.tokenBits);
    const int64_t position = start + end;
    if (distance < 0) {
      out_.ByteRun(data_[position], length);
    } else {
      out_.Copy(length, distance);
    }
    for (int64_t skipped = position + 1; skipped < position + length; ++skipped) {
      finder_.Skip(skipped);
    }
    return position + length;
  }

  // Follows the path back from arrival `end` (by its literal or its token arrival) and writes
  // its tokens in order.
  void WritePath(int64_t start, int64_t end, bool byLiterals) {
    path_.clear();
    int64_t i = end;
    bool literals = byLiterals;
    while (i > 0) {
      const Arrival& arrival = arrivals_[size_t(i)];
      if (literals) {
        const int64_t from = arrival.literalStart < 0 ? 0 : arrival.literalStart;
        path_.push_back(Step{from, i - from, 0});
        i = from;
        literals = false;
      } else {
        path_.push_back(Step{i - arrival.length, arrival.length, arrival.distance});
        literals = arrival.afterLiterals;
        i -= arrival.length;
      }
    }
    for (size_t k = path_.size(); k-- > 0;) {
      const Step& step = path_[k];
      const int64_t position = start + step.offset;
      if (step.distance == 0) {
        out_.Literals(position, step.length);
      } else if (step.distance < 0) {
        out_.ByteRun(data_[position], step.length);
      } else {
        out_.Copy(step.length, step.distance);
      }
    }
  }

  struct Step {
    int64_t offset;
    int64_t length;
    int32_t distance;  // > 0 copy, 0 literals, -1 byte run
  };

  const uint8_t* data_;
  int64_t size_;
  int64_t nice_;
  DecodeCharges charges_;
  BinaryTreeFinder finder_;
  TokenWriter& out_;
  std::vector<Arrival> arrivals_;
  LiteralRunWindow literalRuns_;
  std::vector<Step> path_;
  Match matches_[BinaryTreeFinder::kMaxMatches];
};

}  // namespace

void ParseOptimal(const uint8_t* data, int64_t size, const OptimalParseSettings& settings,
                  TokenWriter& out) {
  OptimalParser(data, size, settings, out).Run();
}

}  // namespace codec
