// Floating values in fixed-point notation, as used when a floating value becomes text.
#include <cmath>

#include "core/number_words.h"
#include "core/string.h"

namespace {

// The C runtimes disagree on how they spell these ("nan", "1.#QNAN0"); the engine spells them
// one way on every build.
const char* NonFiniteText(double value) {
  if (std::isnan(value)) return "nan";
  return value < 0 ? "-inf" : "inf";
}

}  // namespace

String FormatDecimal(double value, int decimals) {
  if (!std::isfinite(value)) return String(NonFiniteText(value));
  if (decimals >= 0) {
    return String::Formatted("%.*f", decimals < kMaxDecimals ? decimals : kMaxDecimals, value);
  }
  String text = String::Formatted("%.6f", value);
  // "%.6f" always writes a decimal point, so only decimals are trimmed here.
  text.TrimRightChar('0');
  text.RemoveLastIf('.');
  return text;
}
