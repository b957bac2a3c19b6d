// Decimal text to double against the C library's strtod, which rounds correctly: ties and near
// ties, long digit strings, the ends of the range and the subnormals.
#include "core/decimal_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

uint64_t Bits(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

void ExpectAsStrtod(const std::string& text) {
  SCOPED_TRACE(text.size() > 80 ? text.substr(0, 80) + "..." : text);
  EXPECT_EQ(Bits(DecimalToDouble(text.data(), int(text.size()))),
            Bits(std::strtod(text.c_str(), nullptr)));
}

TEST(DecimalToDouble, TableAsStrtod) {
  const char* const texts[] = {
      "0",
      "-0",
      "+0",
      "0.",
      ".5",
      "-.5",
      "1",
      "-1",
      "2.5",
      "0.1",
      "0.125",
      "3.14159",
      "11.1",
      "1111",
      "2.675",
      "1.005",
      "123456789012345678901234567890",
      "9007199254740993",                            // halfway between two doubles: to even
      "9007199254740993.0000000000000000000000001",  // just above halfway
      "9007199254740995",                            // halfway, to even upwards
      "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955863"
      "27668781715404589535143824642343213268894641827684675467035375169860499105765512820762454900"
      "90389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177"
      "180919299881250404026184124858368",  // DBL_MAX
      "17976931348623158079372897140530341507993413271003782693617377898044496829276475094664901797"
      "75872070963302864166928879109465555478519404026306574886715058206819089020007083836762738548"
      "45817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711"
      "559699508093042880177904174497792",  // past halfway above DBL_MAX
      "0.000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "00000000000000000000000000000000000000000000000000000000000000000000000049406564584124654",
      "0.000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "00000000000000000000000000000000000000000000000000000000000000000000000024703282292062327",
      "0.000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "00000000000000000000000000000000000000000000000000000000000000000000000024703282292062328",
      "0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000000001",
  };
  for (const char* text : texts) ExpectAsStrtod(text);
  ExpectAsStrtod(std::string(400, '9'));
  ExpectAsStrtod("0." + std::string(330, '0') + "1");
  ExpectAsStrtod(std::string(308, '1') + "." + std::string(900, '7'));
}

// A tie that only the 900th digit breaks, and one broken by a non-zero digit beyond the kept
// ones.
TEST(DecimalToDouble, DigitsFarBehindDecideATie) {
  const std::string tie = "9007199254740993";
  ExpectAsStrtod(tie + "." + std::string(900, '0'));
  ExpectAsStrtod(tie + "." + std::string(900, '0') + "1");
  // 2^-1075 (half the smallest subnormal) written out exactly, and a hair above it.
  std::string half = "0.";
  {
    // 2^-1075 = 5^1075 / 10^1075: its 751 digits after 324 zeros.
    std::string digits = "1";
    for (int i = 0; i < 1075; ++i) {
      int carry = 0;
      for (int j = int(digits.size()) - 1; j >= 0; --j) {
        int d = (digits[size_t(j)] - '0') * 5 + carry;
        digits[size_t(j)] = char('0' + d % 10);
        carry = d / 10;
      }
      while (carry > 0) {
        digits.insert(digits.begin(), char('0' + carry % 10));
        carry /= 10;
      }
    }
    half += std::string(1075 - digits.size(), '0') + digits;
  }
  ExpectAsStrtod(half);
  ExpectAsStrtod(half + "1");
}

TEST(DecimalToDouble, RandomTextsAsStrtod) {
  std::mt19937_64 random(1211);
  for (int i = 0; i < 20000; ++i) {
    std::string text = random() % 3 == 0 ? "-" : "";
    const int whole = int(random() % 25);
    const int fraction = int(random() % 25);
    for (int d = 0; d < whole; ++d) text += char('0' + random() % 10);
    if (fraction > 0 || whole == 0) {
      text += '.';
      for (int d = 0; d < fraction || (whole == 0 && d == 0); ++d)
        text += char('0' + random() % 10);
    }
    ExpectAsStrtod(text);
    if (HasFailure()) return;
  }
}

}  // namespace
