// The match finder of the smallest level: every position of the input sorted into binary trees
// (one per 4-byte hash) of the strings that start there, so that a lookup walks from the nearest
// candidates to the best ones and reports copies of every useful length. Positions are absolute:
// the window is the whole input. Memory: 8 bytes per input byte plus the hash heads.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/codec/match.h"

namespace codec {

class BinaryTreeFinder {
 public:
  // maxDepth bounds the candidates looked at per position; a match of niceLength ends the walk.
  BinaryTreeFinder(const uint8_t* data, int64_t size, int maxDepth, int niceLength);

  // Adds position to its tree and writes to matches the copies that start there, by strictly
  // increasing length (each the nearest the walk saw for that length), at most kMaxMatches;
  // returns how many. Positions must be given in increasing order, each once, through this or
  // Skip; the last 3 positions of the input have no matches.
  static constexpr int kMaxMatches = 64;
  int Find(int64_t position, Match* matches);
  // Adds position without reporting matches.
  void Skip(int64_t position);

 private:
  int Walk(int64_t position, Match* matches);

  const uint8_t* data_;
  int64_t size_;
  int maxDepth_;
  int niceLength_;
  int hashBits_;
  std::vector<int32_t> heads_;
  std::vector<int32_t> children_;  // two per position: smaller string, larger string
};

}  // namespace codec
