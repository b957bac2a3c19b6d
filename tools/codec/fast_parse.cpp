#include "tools/codec/fast_parse.h"

#include <cstddef>
#include <vector>

#include "tools/codec/match_length.h"
#include "tools/codec/token_costs.h"

namespace codec {
namespace {

constexpr int kHashBits = 16;  // 256 KiB of table: stays in the second-level cache
// After 2^kSkipShift positions without a match the step grows by one byte, so that data which
// does not compress passes quickly.
constexpr int kSkipShift = 6;

uint32_t Hash4(const uint8_t* p) { return (Load32(p) * 2654435761u) >> (32 - kHashBits); }

}  // namespace

void ParseFast(const uint8_t* data, int64_t size, TokenWriter& out) {
  std::vector<int32_t> table(size_t(1) << kHashBits, -1);  // positions fit: inputs are < 2 GB
  int64_t literalStart = 0;
  int64_t position = 0;
  int64_t misses = 0;
  // Every 4-byte load below stays inside the input.
  const int64_t lastLoad = size - 4;
  while (position <= lastLoad) {
    const uint8_t* here = data + position;
    int64_t runLength = 0;
    if (here[0] == here[1] && here[1] == here[2]) runLength = RunLength(here, size - position);

    int64_t copyLength = 0, copyDistance = 0;
    int32_t& entry = table[Hash4(here)];
    const int64_t candidate = entry;
    entry = int32_t(position);
    if (candidate >= 0 && position - candidate >= kMinCopyDistance &&
        Load32(data + candidate) == Load32(here)) {
      copyDistance = position - candidate;
      const int64_t limit = copyDistance < size - position ? copyDistance : size - position;
      copyLength = 4 + MatchLength(here + 4, data + candidate + 4, limit - 4);
    }

    // Each choice is worth its saving over sending the bytes as literals, less what the token
    // costs the decoder.
    const int64_t runSaving =
        runLength >= kMinByteRun ? 8 * runLength - ByteRunBits(runLength) - kGreedyCharges.ByteRun()
                                 : 0;
    const int64_t copySaving = copyLength >= kMinCopyLength
                                   ? 8 * copyLength - CopyBits(copyLength, copyDistance) -
                                         kGreedyCharges.Copy(copyDistance)
                                   : 0;
    // A token inside a long literal run splits it, and the second half pays a new header.
    const int64_t pending = position - literalStart;
    const int64_t splitBits = pending > 0 ? LiteralHeaderBits(pending) : 0;
    if (runSaving <= splitBits && copySaving <= splitBits) {
      // Only positions without any repeat speed the scan up: a copy too short to pay for
      // itself still says the data compresses.
      const bool repeats = copyLength >= kMinCopyLength || runLength >= kMinByteRun;
      misses = repeats ? 0 : misses + 1;
      position += 1 + (misses >> kSkipShift);
      continue;
    }
    misses = 0;
    if (position > literalStart) out.Literals(literalStart, position - literalStart);
    int64_t covered;
    if (runSaving >= copySaving) {
      out.ByteRun(here[0], runLength);
      covered = runLength;
    } else {
      out.Copy(copyLength, copyDistance);
      covered = copyLength;
    }
    position += covered;
    literalStart = position;
    // One more entry near the end of the token keeps the table current in repetitive data.
    if (position - 2 <= lastLoad && covered > 2) table[Hash4(data + position - 2)] = int32_t(position - 2);
  }
  if (size > literalStart) out.Literals(literalStart, size - literalStart);
}

}  // namespace codec
