// Progress of long encodings: the block encoder tells an observer, now and then, how much of
// its input the parse has covered. One observer for the process, because the encoder is called
// deep inside the archive writer; none by default.
#pragma once

#include <cstdint>

namespace codec {

// done of total input bytes of the block being encoded; called after about every
// kEncodeProgressStep bytes and once at the end of each block.
using EncodeProgressFunction = void (*)(void* context, int64_t done, int64_t total);
inline constexpr int64_t kEncodeProgressStep = int64_t(1) << 20;

// Null stops the reports.
void SetEncodeProgress(EncodeProgressFunction function, void* context);
void ReportEncodeProgress(int64_t done, int64_t total);

}  // namespace codec
