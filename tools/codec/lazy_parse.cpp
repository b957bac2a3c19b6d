#include "tools/codec/lazy_parse.h"

#include "tools/codec/hash_chain_finder.h"
#include "tools/codec/match_length.h"
#include "tools/codec/token_costs.h"

namespace codec {
namespace {

// The best token at one position: a copy or a byte run (distance -1), with its saving in bits
// over literals.
struct Choice {
  Match token;
  int64_t saving = 0;
};

Choice BestAt(const uint8_t* data, int64_t size, int64_t position, const HashChainFinder& finder) {
  Choice choice;
  choice.token = finder.Find(position);
  choice.saving = CopySaving(choice.token, kDecodeTimeCharges);
  const uint8_t* p = data + position;
  if (size - position >= kMinByteRun && p[0] == p[1] && p[1] == p[2]) {
    const int64_t run = RunLength(p, size - position);
    const int64_t saving = 8 * run - ByteRunBits(run) - kDecodeTimeCharges.ByteRun();
    if (saving > choice.saving) {
      choice.token = Match{int32_t(run), -1};
      choice.saving = saving;
    }
  }
  return choice;
}

}  // namespace

void ParseLazy(const uint8_t* data, int64_t size, const LazyParseSettings& settings,
               TokenWriter& out) {
  HashChainFinder finder(data, size, settings.maxChain, settings.niceLength, kDecodeTimeCharges);
  int64_t literalStart = 0;
  int64_t position = 0;
  int64_t inserted = 0;  // positions below this are in the chains
  auto insertUpTo = [&](int64_t end) {
    for (; inserted < end; ++inserted) finder.Insert(inserted);
  };
  while (position < size) {
    Choice choice = BestAt(data, size, position, finder);
    insertUpTo(position + 1);
    // A token inside a long literal run splits it, and the second half pays a new header.
    const int64_t pending = position - literalStart;
    if (choice.saving <= (pending > 0 ? LiteralHeaderBits(pending) : 0)) {
      ++position;
      continue;
    }
    // A token one or two positions on that saves more than this one plus the literals it
    // pushes out is worth waiting for.
    for (int ahead = 1; ahead <= settings.lookahead && choice.token.length < settings.niceLength;
         ++ahead) {
      if (position + 1 >= size) break;
      const Choice next = BestAt(data, size, position + 1, finder);
      insertUpTo(position + 2);
      if (next.saving <= choice.saving + 8) break;
      choice = next;
      ++position;
    }
    if (position > literalStart) out.Literals(literalStart, position - literalStart);
    if (choice.token.distance < 0) {
      out.ByteRun(data[position], choice.token.length);
    } else {
      out.Copy(choice.token.length, choice.token.distance);
    }
    position += choice.token.length;
    insertUpTo(position);
    literalStart = position;
  }
  if (size > literalStart) out.Literals(literalStart, size - literalStart);
}

}  // namespace codec
