// The engine's printf against the C library's, for every conversion it makes; the formats it
// refuses; the buffer form's cut.
#include "core/print_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

void PutInStd(void* context, const char* text, int length) {
  static_cast<std::string*>(context)->append(text, size_t(length));
}

// The engine's text, or "<unusable>".
std::string Ours(const char* fmt, ...) {
  std::string out;
  va_list args;
  va_start(args, fmt);
  const bool usable = PrintFormatted(PutInStd, &out, fmt, args);
  va_end(args);
  return usable ? out : "<unusable>";
}

// The C library's text.
std::string Theirs(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, fmt, args);
  std::string out(size_t(length) + 1, '\0');
  std::vsnprintf(&out[0], out.size(), fmt, again);
  va_end(again);
  va_end(args);
  out.resize(size_t(length));
  return out;
}

// Every combination of flags with a few widths and precisions, the format built at run time.
std::string Spec(const char* flags, int width, int precision, const char* conversion) {
  std::string spec = std::string("[%") + flags;
  if (width >= 0) spec += std::to_string(width);
  if (precision >= 0) spec += "." + std::to_string(precision);
  return spec + conversion + "]";
}

const char* const kFlagSets[] = {"", "-", "+", " ", "#", "0", "-0", "+0", " 0", "#0", "-+ #0"};

#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"

TEST(PrintFormat, IntegersAsTheCLibrary) {
  const long long values[] = {0,     1,         -1,        7,         42,        -42,         255,
                              65535, INT32_MAX, INT32_MIN, INT64_MAX, INT64_MIN, 1000000007LL};
  for (const char* flags : kFlagSets) {
    for (int width : {-1, 0, 1, 5, 24}) {
      for (int precision : {-1, 0, 1, 3, 22}) {
        for (long long value : values) {
          for (const char* conversion : {"d", "i"}) {
            const std::string fmt = Spec(flags, width, precision, conversion);
            SCOPED_TRACE(fmt + " of " + std::to_string(value));
            EXPECT_EQ(Ours(fmt.c_str(), int(value)), Theirs(fmt.c_str(), int(value)));
          }
          for (const char* conversion : {"u", "o", "x", "X"}) {
            const std::string fmt = Spec(flags, width, precision, conversion);
            SCOPED_TRACE(fmt + " of " + std::to_string(value));
            EXPECT_EQ(Ours(fmt.c_str(), unsigned(value)), Theirs(fmt.c_str(), unsigned(value)));
          }
          for (const char* conversion : {"lld", "llu", "llx", "llo"}) {
            const std::string fmt = Spec(flags, width, precision, conversion);
            SCOPED_TRACE(fmt + " of " + std::to_string(value));
            EXPECT_EQ(Ours(fmt.c_str(), value), Theirs(fmt.c_str(), value));
          }
        }
      }
    }
  }
}

TEST(PrintFormat, LengthModifiersTakeTheirTypes) {
  EXPECT_EQ(Ours("%hhd %hhu %hd %hu", 300, 300, 70000, 70000), "44 44 4464 4464");
  EXPECT_EQ(Ours("%ld %lu", -5L, 5UL), "-5 5");
  EXPECT_EQ(Ours("%zu %td %jd", size_t(9), ptrdiff_t(-9), intmax_t(INT64_MIN)),
            "9 -9 -9223372036854775808");
  EXPECT_EQ(Ours("%I64d %I64X %I32d %Iu", INT64_MIN, uint64_t(0xFEDCBA9876543210), -3, size_t(12)),
            "-9223372036854775808 FEDCBA9876543210 -3 12");
  // Arguments after a 64-bit one are still found in their places.
  EXPECT_EQ(Ours("%llu (0x%08llX) %s", 4294967296ULL, 4294967296ULL, "next"),
            "4294967296 (0x100000000) next");
}

TEST(PrintFormat, CharactersAndTextsAsTheCLibrary) {
  for (const char* flags : {"", "-"}) {
    for (int width : {-1, 0, 1, 4, 12}) {
      const std::string c = Spec(flags, width, -1, "c");
      EXPECT_EQ(Ours(c.c_str(), 'q'), Theirs(c.c_str(), 'q')) << c;
      for (int precision : {-1, 0, 2, 5, 20}) {
        const std::string s = Spec(flags, width, precision, "s");
        for (const char* text : {"", "a", "hello", "a longer text"}) {
          EXPECT_EQ(Ours(s.c_str(), text), Theirs(s.c_str(), text)) << s << " of " << text;
        }
        EXPECT_EQ(
            Ours(s.c_str(), static_cast<const char*>(nullptr)),
            precision < 0 || precision >= 6 ? Theirs(s.c_str(), "(null)") : Theirs(s.c_str(), ""))
            << s << " of a null text";
      }
    }
  }
  EXPECT_EQ(Ours("100%% %c%c", 'o', 'k'), "100% ok");
}

TEST(PrintFormat, StarsTakeWidthAndPrecisionFromTheArguments) {
  EXPECT_EQ(Ours("[%*d]", 5, 42), "[   42]");
  EXPECT_EQ(Ours("[%*d]", -5, 42), "[42   ]");
  EXPECT_EQ(Ours("[%.*f]", 2, 3.14159), "[3.14]");
  EXPECT_EQ(Ours("[%.*f]", -1, 3.14159), "[3.141590]");  // a negative precision counts as none
  EXPECT_EQ(Ours("[%-*.*s]", 6, 3, "abcdef"), "[abc   ]");
}

// Doubles whose decimal forms decide the rounding: ties, values just off a tie, the extremes
// of the range, zeros with either sign, and the values that are not numbers.
TEST(PrintFormat, FixedPointAsTheCLibrary) {
  const double values[] = {0.0,
                           -0.0,
                           0.5,
                           1.5,
                           2.5,
                           -2.5,
                           0.125,
                           0.375,
                           2.675,
                           1.005,
                           0.1,
                           1.0 / 3,
                           123456.789,
                           9.9999999,
                           999.9995,
                           0.0005,
                           1e15 + 0.5,
                           4503599627370495.5,
                           9007199254740993.0,
                           1e22,
                           1e23,
                           DBL_MAX,
                           -DBL_MAX,
                           DBL_MIN,
                           DBL_TRUE_MIN,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
  for (const char* flags : kFlagSets) {
    for (int width : {-1, 0, 8, 30}) {
      for (int precision : {-1, 0, 1, 2, 3, 6, 17, 40}) {
        for (double value : values) {
          for (const char* conversion : {"f", "F"}) {
            const std::string fmt = Spec(flags, width, precision, conversion);
            SCOPED_TRACE(testing::Message() << fmt << " of " << value);
            EXPECT_EQ(Ours(fmt.c_str(), value), Theirs(fmt.c_str(), value));
          }
        }
      }
    }
  }
}

TEST(PrintFormat, EveryDigitOfTheExtremesAsTheCLibrary) {
  for (double value : {DBL_MAX, DBL_TRUE_MIN, DBL_MIN, 0.1}) {
    for (int precision : {320, 1074, 1100}) {
      const std::string fmt = "%." + std::to_string(precision) + "f";
      EXPECT_EQ(Ours(fmt.c_str(), value), Theirs(fmt.c_str(), value)) << fmt;
    }
  }
}

TEST(PrintFormat, RandomDoublesAsTheCLibrary) {
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    // Mostly values of everyday size, some from the whole range.
    if (i % 4 != 0) bits = (bits & 0x800FFFFFFFFFFFFFULL) | (uint64_t(1000 + bits % 100) << 52);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    const int precision = int(random() % 12);
    SCOPED_TRACE(testing::Message() << "bits " << std::hex << bits << " precision " << precision);
    ASSERT_EQ(Ours("%.*f", precision, value), Theirs("%.*f", precision, value));
  }
}

TEST(PrintFormat, FormatsItDoesNotMakeAreUnusable) {
  const char* const unusable[] = {"%e",  "%g",  "%a", "%p",    "%n",      "%ls",
                                  "%lc", "%Lf", "%q", "abc %", "%70000d", "%.70000f"};
  for (const char* fmt : unusable) {
    int sink = 0;
    EXPECT_EQ(Ours(fmt, 1.0, &sink), "<unusable>") << fmt;
  }
  EXPECT_EQ(Ours("%*d", 70000, 1), "<unusable>");
}

TEST(PrintToBuffer, CutsToTheCapacityAndCountsTheWhole) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(PrintToBuffer(buffer, 6, "%s-%d", "abcd", 1234), 9);
  EXPECT_STREQ(buffer, "abcd-");
  EXPECT_EQ(buffer[6], '#') << "nothing written past the capacity";
  EXPECT_EQ(PrintToBuffer(buffer, sizeof buffer, "%d", 7), 1);
  EXPECT_STREQ(buffer, "7");
  EXPECT_EQ(PrintToBuffer(buffer, 0, "%d", 7), 1);
  EXPECT_EQ(PrintToBuffer(buffer, sizeof buffer, "%e", 7.0), -1);
}

}  // namespace
