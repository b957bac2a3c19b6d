#include "core/print_format.h"

#include <cstdint>
#include <cstring>

#include "core/big_number.h"

namespace {

// Fraction digits beyond this are zeros for every double: its smallest step is 2^-1074.
constexpr int kMostExactFractionDigits = 1074;
// A double's whole part has at most 309 digits, the scaled numbers of the conversion at most
// 1,090; every digit of one comes from the digit buffer.
constexpr int kDigitBuffer = 1100;

struct Spec {
  bool left = false;
  bool plus = false;
  bool blank = false;
  bool alternate = false;
  bool zero = false;
  int width = 0;
  int precision = -1;  // -1: none given
};

class Printer {
 public:
  Printer(PrintOutput output, void* context) : output_(output), context_(context) {}

  void Put(const char* text, int length) {
    if (length > 0) output_(context_, text, length);
  }

  void Repeat(char ch, int count) {
    char chunk[64];
    std::memset(chunk, ch, sizeof chunk);
    for (; count > 0; count -= int(sizeof chunk)) Put(chunk, count < 64 ? count : 64);
  }

  // prefix (sign, "0x"), `zeros` zeros, the body, `trailing` zeros, padded to the width: with
  // blanks on the left or right, or with zeros after the prefix when `zeroPad`.
  void Field(const Spec& spec, bool zeroPad, const char* prefix, int zeros, const char* body,
             int bodyLength, int trailing) {
    const int prefixLength = int(std::strlen(prefix));
    const int length = prefixLength + zeros + bodyLength + trailing;
    const int pad = spec.width > length ? spec.width - length : 0;
    if (!spec.left && !zeroPad) Repeat(' ', pad);
    Put(prefix, prefixLength);
    if (!spec.left && zeroPad) Repeat('0', pad);
    Repeat('0', zeros);
    Put(body, bodyLength);
    Repeat('0', trailing);
    if (spec.left) Repeat(' ', pad);
  }

 private:
  PrintOutput output_;
  void* context_;
};

// The digits of `value` in `base` at the end of `end`; returns where they start.
char* UnsignedDigits(uint64_t value, int base, bool upper, char* end) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  char* p = end;
  do {
    *--p = digits[value % unsigned(base)];
    value /= unsigned(base);
  } while (value != 0);
  return p;
}

void PrintInteger(Printer& printer, const Spec& spec, char conversion, uint64_t magnitude,
                  bool negative) {
  const int base = conversion == 'o' ? 8 : (conversion == 'x' || conversion == 'X') ? 16 : 10;
  char buffer[24];
  char* end = buffer + sizeof buffer;
  char* start = UnsignedDigits(magnitude, base, conversion == 'X', end);
  int length = int(end - start);
  if (spec.precision == 0 && magnitude == 0) length = 0;  // "%.0d" of 0 prints no digit
  int zeros = spec.precision > length ? spec.precision - length : 0;
  const char* prefix = "";
  const bool isSigned = conversion == 'd' || conversion == 'i';
  if (negative) {
    prefix = "-";
  } else if (isSigned && spec.plus) {
    prefix = "+";
  } else if (isSigned && spec.blank) {
    prefix = " ";
  } else if (spec.alternate && magnitude != 0 && base == 16) {
    prefix = conversion == 'X' ? "0X" : "0x";
  }
  if (spec.alternate && base == 8 && zeros == 0 && (length == 0 || *start != '0')) zeros = 1;
  printer.Field(spec, spec.zero && spec.precision < 0, prefix, zeros, end - length, length, 0);
}

// %f of a finite double: the exact value m * 2^e scaled by 10^precision and rounded half to even
// is the whole digit string, with the point `precision` digits from its end.
__attribute__((noinline)) void PrintFixed(Printer& printer, const Spec& spec, bool upper,
                                          double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int biased = int((bits >> 52) & 0x7FF);
  uint64_t mantissa = bits & ((uint64_t(1) << 52) - 1);
  const char* prefix = negative ? "-" : spec.plus ? "+" : spec.blank ? " " : "";
  if (biased == 0x7FF) {
    const char* text = mantissa != 0 ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
    printer.Field(spec, false, prefix, 0, text, 3, 0);
    return;
  }
  const int precision = spec.precision < 0 ? 6 : spec.precision;
  int exponent = biased == 0 ? -1074 : biased - 1075;
  if (biased != 0) mantissa |= uint64_t(1) << 52;

  BigNumber scaled(mantissa);
  int exact = 0;  // fraction digits computed; the rest are zeros
  if (exponent >= 0) {
    scaled.ShiftLeft(exponent);
  } else {
    exact = precision < -exponent ? precision : -exponent;
    if (exact > kMostExactFractionDigits) exact = kMostExactFractionDigits;
    scaled.MultiplyByPowerOfTen(exact);
    const int shift = -exponent;
    const bool half = scaled.Bit(shift - 1);
    const bool rest = scaled.AnyBitBelow(shift - 1);
    scaled.ShiftRight(shift);
    if (half && (rest || scaled.Bit(0))) scaled.MultiplyAdd(1, 1);
  }

  char digits[kDigitBuffer + 2];
  char* end = digits + sizeof digits;
  char* start = end;
  while (!scaled.IsZero()) {
    uint32_t group = scaled.DivideByBillion();
    char* groupEnd = start;
    start = UnsignedDigits(group, 10, false, start);
    if (!scaled.IsZero()) {
      while (groupEnd - start < 9) *--start = '0';
    }
  }
  // At least one digit before the point.
  while (end - start < exact + 1) *--start = '0';
  // The body: the whole part, the point, the computed fraction digits.
  const int whole = int(end - start) - exact;
  char body[kDigitBuffer + 3];
  std::memcpy(body, start, size_t(whole));
  int length = whole;
  if (precision > 0 || spec.alternate) body[length++] = '.';
  std::memcpy(body + length, start + whole, size_t(exact));
  length += exact;
  printer.Field(spec, spec.zero, prefix, 0, body, length, precision - exact);
}

// Reads digits (or "*", taken from the arguments) at p; false when the number passes the bound.
bool ReadCount(const char*& p, va_list& args, int& count, bool& fromArgument) {
  fromArgument = false;
  if (*p == '*') {
    ++p;
    fromArgument = true;
    count = va_arg(args, int);
    return count <= kMostPrintWidth;
  }
  count = 0;
  while (*p >= '0' && *p <= '9') {
    count = count * 10 + (*p++ - '0');
    if (count > kMostPrintWidth) return false;
  }
  return true;
}

enum class Length { kInt, kChar, kShort, kLong, kLongLong, kSize, kPointer };

Length ReadLength(const char*& p) {
  switch (*p) {
    case 'h':
      ++p;
      if (*p == 'h') return ++p, Length::kChar;
      return Length::kShort;
    case 'l':
      ++p;
      if (*p == 'l') return ++p, Length::kLongLong;
      return Length::kLong;
    case 'j':
      return ++p, Length::kLongLong;
    case 'z':
      return ++p, Length::kSize;
    case 't':
      return ++p, Length::kPointer;
    case 'I':
      if (p[1] == '6' && p[2] == '4') return p += 3, Length::kLongLong;
      if (p[1] == '3' && p[2] == '2') return p += 3, Length::kInt;
      return ++p, Length::kPointer;
    default:
      return Length::kInt;
  }
}

int64_t SignedArgument(va_list& args, Length length) {
  switch (length) {
    case Length::kChar:
      return static_cast<signed char>(va_arg(args, int));
    case Length::kShort:
      return static_cast<short>(va_arg(args, int));
    case Length::kLong:
      return va_arg(args, long);
    case Length::kLongLong:
      return va_arg(args, long long);
    case Length::kSize:
      return static_cast<int64_t>(va_arg(args, size_t));
    case Length::kPointer:
      return va_arg(args, ptrdiff_t);
    case Length::kInt:
      break;
  }
  return va_arg(args, int);
}

uint64_t UnsignedArgument(va_list& args, Length length) {
  switch (length) {
    case Length::kChar:
      return static_cast<unsigned char>(va_arg(args, unsigned));
    case Length::kShort:
      return static_cast<unsigned short>(va_arg(args, unsigned));
    case Length::kLong:
      return va_arg(args, unsigned long);
    case Length::kLongLong:
      return va_arg(args, unsigned long long);
    case Length::kSize:
      return va_arg(args, size_t);
    case Length::kPointer:
      return static_cast<uint64_t>(uintptr_t(va_arg(args, ptrdiff_t)));
    case Length::kInt:
      break;
  }
  return va_arg(args, unsigned);
}

// One conversion after its '%'; false when it is not one this formatter makes.
bool PrintConversion(Printer& printer, const char*& p, va_list& args) {
  Spec spec;
  for (;; ++p) {
    if (*p == '-') {
      spec.left = true;
    } else if (*p == '+') {
      spec.plus = true;
    } else if (*p == ' ') {
      spec.blank = true;
    } else if (*p == '#') {
      spec.alternate = true;
    } else if (*p == '0') {
      spec.zero = true;
    } else {
      break;
    }
  }
  bool fromArgument;
  if (!ReadCount(p, args, spec.width, fromArgument)) return false;
  if (spec.width < 0) {  // a negative width from the arguments means '-'
    if (spec.width < -kMostPrintWidth) return false;
    spec.left = true;
    spec.width = -spec.width;
  }
  if (*p == '.') {
    ++p;
    if (!ReadCount(p, args, spec.precision, fromArgument)) return false;
    if (spec.precision < 0) spec.precision = -1;  // a negative precision counts as none
  }
  if (spec.left) spec.zero = false;
  const Length length = ReadLength(p);
  const char conversion = *p;
  if (conversion == '\0') return false;
  ++p;
  switch (conversion) {
    case 'd':
    case 'i': {
      const int64_t value = SignedArgument(args, length);
      const uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
      PrintInteger(printer, spec, conversion, magnitude, value < 0);
      return true;
    }
    case 'u':
    case 'o':
    case 'x':
    case 'X':
      PrintInteger(printer, spec, conversion, UnsignedArgument(args, length), false);
      return true;
    case 'c': {
      if (length != Length::kInt) return false;
      const char ch = char(va_arg(args, int));
      printer.Field(spec, false, "", 0, &ch, 1, 0);
      return true;
    }
    case 's': {
      if (length != Length::kInt) return false;
      const char* text = va_arg(args, const char*);
      // As glibc: a null text shows as "(null)" where its precision leaves room for all of it.
      if (text == nullptr) text = spec.precision < 0 || spec.precision >= 6 ? "(null)" : "";
      int textLength = 0;
      while (text[textLength] != '\0' && (spec.precision < 0 || textLength < spec.precision))
        ++textLength;
      printer.Field(spec, false, "", 0, text, textLength, 0);
      return true;
    }
    case 'f':
    case 'F':
      if (length != Length::kInt && length != Length::kLong) return false;
      PrintFixed(printer, spec, conversion == 'F', va_arg(args, double));
      return true;
    default:
      return false;
  }
}

struct BufferTarget {
  char* buffer;
  size_t capacity;
  size_t length;
};

void PutInBuffer(void* context, const char* text, int length) {
  BufferTarget& target = *static_cast<BufferTarget*>(context);
  for (int i = 0; i < length; ++i, ++target.length) {
    if (target.length + 1 < target.capacity) target.buffer[target.length] = text[i];
  }
}

}  // namespace

bool PrintFormatted(PrintOutput output, void* context, const char* fmt, va_list args) {
  Printer printer(output, context);
  va_list rest;
  va_copy(rest, args);
  bool usable = true;
  for (const char* p = fmt; usable && *p != '\0';) {
    const char* literal = p;
    while (*p != '\0' && *p != '%') ++p;
    printer.Put(literal, int(p - literal));
    if (*p == '\0') break;
    ++p;
    if (*p == '%') {
      printer.Put(p++, 1);
    } else {
      usable = PrintConversion(printer, p, rest);
    }
  }
  va_end(rest);
  return usable;
}

int PrintToBuffer(char* buffer, size_t capacity, const char* fmt, ...) {
  BufferTarget target = {buffer, capacity, 0};
  va_list args;
  va_start(args, fmt);
  const bool usable = PrintFormatted(PutInBuffer, &target, fmt, args);
  va_end(args);
  if (capacity != 0) buffer[target.length < capacity ? target.length : capacity - 1] = '\0';
  return usable ? int(target.length) : -1;
}
