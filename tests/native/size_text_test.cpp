// SizeText: each unit and both sides of every unit boundary, rounding at two decimals, negative
// counts and the ends of the 64-bit range.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/number_words.h"
#include "core/string.h"

namespace {

TEST(SizeText, PicksTheUnitByRangeAndRoundsToTwoDecimals) {
  const struct {
    int64_t bytes;
    const char* expected;
  } cases[] = {
      {0, "0 bytes"},
      {1, "1 bytes"},
      {1023, "1023 bytes"},
      {-1, "-1 bytes"},
      {-5000, "-5000 bytes"},
      {INT64_MIN, "-9223372036854775808 bytes"},
      {1024, "1.00 KB"},
      {1029, "1.00 KB"},  // 1.0048828125
      {1034, "1.01 KB"},  // 1.009765625
      {1152, "1.12 KB"},  // 1.125 exactly: a tie, rounded to even
      {1160, "1.13 KB"},  // 1.1328125
      {1280, "1.25 KB"},
      {1536, "1.50 KB"},
      {1048575, "1024.00 KB"},  // 1023.9990234375
      {1048576, "1.00 MB"},
      {1234567, "1.18 MB"},  // 1.17737483978271484375
      {1572864, "1.50 MB"},
      {1073741823, "1024.00 MB"},
      {1073741824, "1.00 GB"},
      {1610612736, "1.50 GB"},
      {INT64_C(1099511627775), "1024.00 GB"},
      {INT64_C(1099511627776), "1.00 TB"},
      {INT64_C(5497558138880), "5.00 TB"},
      {INT64_C(1125899906842624), "1024.00 TB"},
      {INT64_MAX, "8388608.00 TB"},  // converts to 2^63 before the division
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    const String text = SizeText(c.bytes);
    EXPECT_EQ(std::string(text.CStr(), size_t(text.Length())), c.expected);
  }
}

}  // namespace
