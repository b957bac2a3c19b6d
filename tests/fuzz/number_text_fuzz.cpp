// The engine's printf and decimal reader against the C library's: a conversion with arbitrary
// flags, width and precision applied to arbitrary bits must give glibc's text, and an arbitrary
// decimal text glibc's double, bit for bit.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/decimal_number.h"
#include "core/print_format.h"

namespace {

void PutInStd(void* context, const char* text, int length) {
  static_cast<std::string*>(context)->append(text, size_t(length));
}

std::string Ours(const char* fmt, ...) {
  std::string out;
  va_list args;
  va_start(args, fmt);
  if (!PrintFormatted(PutInStd, &out, fmt, args)) out = "<unusable>";
  va_end(args);
  return out;
}

std::string Theirs(const char* fmt, ...) {
  static char text[8192];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(text, sizeof text, fmt, args);
  va_end(args);
  return text;
}

#pragma GCC diagnostic ignored "-Wformat-nonliteral"

void CheckConversion(const uint8_t* data, size_t size) {
  if (size < 12) return;
  std::string fmt = "%";
  const uint8_t flags = data[0];
  const char* const flagChars = "-+ #0";
  for (int i = 0; i < 5; ++i) {
    if (flags & (1 << i)) fmt += flagChars[i];
  }
  if (data[1] & 0x80) fmt += std::to_string(data[1] & 0x3F);
  if (data[2] & 0x80) fmt += "." + std::to_string(data[2] & 0x7F);
  uint64_t bits;
  std::memcpy(&bits, data + 4, sizeof bits);
  const char* const conversions[] = {"d", "i", "u", "o", "x", "X", "lld", "llu", "llx", "f", "F"};
  const char* conversion = conversions[data[3] % (sizeof conversions / sizeof *conversions)];
  fmt += conversion;
  std::string ours;
  std::string theirs;
  if (conversion[0] == 'f' || conversion[0] == 'F') {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    ours = Ours(fmt.c_str(), value);
    theirs = Theirs(fmt.c_str(), value);
  } else if (conversion[0] == 'l') {
    ours = Ours(fmt.c_str(), bits);
    theirs = Theirs(fmt.c_str(), bits);
  } else {
    ours = Ours(fmt.c_str(), unsigned(bits));
    theirs = Theirs(fmt.c_str(), unsigned(bits));
  }
  if (ours != theirs) {
    std::fprintf(stderr, "%s: ours [%s], glibc's [%s]\n", fmt.c_str(), ours.c_str(),
                 theirs.c_str());
    std::abort();
  }
}

// The bytes as a decimal text of the form the engine reads: a sign, digits, a point, digits.
void CheckDecimal(const uint8_t* data, size_t size) {
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    const uint8_t byte = data[i];
    if (i == 0 && byte % 5 == 0) {
      text += '-';
    } else if (byte == '.' && text.find('.') == std::string::npos) {
      text += '.';
    } else {
      text += char('0' + byte % 10);
    }
  }
  if (text.find_first_of("0123456789") == std::string::npos) return;
  uint64_t ours;
  uint64_t theirs;
  const double ourValue = DecimalToDouble(text.data(), int(text.size()));
  const double theirValue = std::strtod(text.c_str(), nullptr);
  std::memcpy(&ours, &ourValue, sizeof ours);
  std::memcpy(&theirs, &theirValue, sizeof theirs);
  if (ours != theirs) {
    std::fprintf(stderr, "%s: ours %016llx, strtod's %016llx\n", text.c_str(),
                 (unsigned long long)ours, (unsigned long long)theirs);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) {
    CheckConversion(data + 1, size - 1);
  } else {
    CheckDecimal(data + 1, size - 1);
  }
  return 0;
}
