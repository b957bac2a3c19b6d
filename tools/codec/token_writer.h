// Turns a parse into the token stream. Parsers hand over literals, byte runs and copies in
// output order; neighbouring literals are merged into one literal run, because a run's count
// costs far less than a new run's prefix.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/codec/bit_writer.h"

namespace codec {

class TokenWriter {
 public:
  // data is the whole input of size bytes; tokens describe it from position 0 on.
  TokenWriter(const uint8_t* data, int64_t size, std::vector<uint8_t>& out)
      : data_(data), size_(size), bits_(out) {}

  // The bytes [position, position + count) go out as literals.
  void Literals(int64_t position, int64_t count) {
    if (pendingCount_ == 0) pendingStart_ = position;
    pendingCount_ += count;
    Covered(count);
  }
  // count (>= 3) copies of one byte.
  void ByteRun(uint8_t byte, int64_t count);
  // length (>= 4) bytes from distance (>= length, >= 4) back.
  void Copy(int64_t length, int64_t distance);
  // Writes any pending literals and the last partial byte.
  void Finish();

 private:
  void FlushLiterals();
  void PutNumber(int base, int step, uint32_t value);
  // Counts input bytes the tokens have described, for the progress reports.
  void Covered(int64_t count) {
    covered_ += count;
    if (covered_ >= nextReport_) ReportProgress();
  }
  void ReportProgress();

  const uint8_t* data_;
  int64_t size_;
  int64_t covered_ = 0;
  int64_t nextReport_ = 0;
  BitWriter bits_;
  int64_t pendingStart_ = 0;
  int64_t pendingCount_ = 0;
};

}  // namespace codec
