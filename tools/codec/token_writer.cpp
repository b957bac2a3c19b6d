#include "tools/codec/token_writer.h"

#include "tools/codec/encode_progress.h"
#include "tools/codec/token_costs.h"

namespace codec {

void TokenWriter::PutNumber(int base, int step, uint32_t value) {
  const int ones = PrefixOnes(base, step, value);
  // The prefix may be longer than one PutBits holds (N(1, 1) of a 2 GB run has 30 ones).
  for (int left = ones; left > 0; left -= 16) {
    const int n = left < 16 ? left : 16;
    bits_.PutBits((1u << n) - 1, n);
  }
  bits_.PutBits(0, 1);
  bits_.PutBits(value, FieldWidth(base, step, ones));
}

void TokenWriter::FlushLiterals() {
  if (pendingCount_ == 0) return;
  bits_.PutBits(0, 1);
  PutNumber(2, 2, uint32_t(pendingCount_ - 1));
  bits_.PutBytes(data_ + pendingStart_, pendingCount_);
  pendingCount_ = 0;
}

void TokenWriter::ReportProgress() {
  ReportEncodeProgress(covered_, size_);
  nextReport_ = covered_ + kEncodeProgressStep;
}

void TokenWriter::ByteRun(uint8_t byte, int64_t count) {
  Covered(count);
  FlushLiterals();
  bits_.PutBits(3 | uint32_t(byte) << 2, 10);
  PutNumber(1, 1, uint32_t(count - kMinByteRun));
}

void TokenWriter::Copy(int64_t length, int64_t distance) {
  Covered(length);
  FlushLiterals();
  bits_.PutBits(1, 2);
  PutNumber(2, 1, uint32_t(length - kMinCopyLength));
  PutNumber(12, 2, uint32_t(distance - kMinCopyDistance));
}

void TokenWriter::Finish() {
  FlushLiterals();
  ReportEncodeProgress(covered_, size_);
  bits_.Finish();
}

}  // namespace codec
