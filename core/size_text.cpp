// Byte counts as short texts with a unit, for the disk-space figures shown to the user.
#include <cstdint>

#include "core/number_words.h"
#include "core/string.h"

namespace {

constexpr int64_t kKilobyte = int64_t(1) << 10;
constexpr int64_t kMegabyte = int64_t(1) << 20;
constexpr int64_t kGigabyte = int64_t(1) << 30;
constexpr int64_t kTerabyte = int64_t(1) << 40;

// The count in units of unitBytes, a power of two: multiplying by its reciprocal is exact.
String InUnits(int64_t bytes, int64_t unitBytes, const char* unitName) {
  return String::Formatted("%.2f %s", double(bytes) * (1.0 / double(unitBytes)), unitName);
}

}  // namespace

String SizeText(int64_t bytes) {
  if (bytes < kKilobyte) {
    String out = String::FromInt64(bytes);
    out.Append(" bytes");
    return out;
  }
  if (bytes < kMegabyte) return InUnits(bytes, kKilobyte, "KB");
  if (bytes < kGigabyte) return InUnits(bytes, kMegabyte, "MB");
  if (bytes < kTerabyte) return InUnits(bytes, kGigabyte, "GB");
  return InUnits(bytes, kTerabyte, "TB");
}
