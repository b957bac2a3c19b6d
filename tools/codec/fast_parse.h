// The fastest parse (level 1): one pass, one remembered position per 4-byte hash, greedy
// choice, and ever larger steps through data that does not compress.
#pragma once

#include <cstdint>

#include "tools/codec/token_writer.h"

namespace codec {

void ParseFast(const uint8_t* data, int64_t size, TokenWriter& out);

}  // namespace codec
