// Ordering of file and product version texts such as "4.10.1998" or "1.2a".
#include <climits>
#include <cstdint>

#include "core/string.h"
#include "core/string_chars.h"

using string_chars::IsDigit;
using string_chars::IsLetter;

namespace {

// Walks a version text one number at a time: every run of digits is a number, a '.' before the
// first number counts as a 0, and everything else separates. Letters do not yield numbers; the
// suffix letter is found separately.
class VersionNumbers {
 public:
  explicit VersionNumbers(const char* text) : text_(text == nullptr ? "" : text) {}

  bool Next(int64_t& number) {
    while (text_[pos_] != '\0') {
      char c = text_[pos_];
      if (IsDigit(c)) {
        number = 0;
        while (IsDigit(text_[pos_])) {
          // Saturate rather than overflow: such numbers are not real versions anyway.
          if (number < INT_MAX) number = number * 10 + (text_[pos_] - '0');
          if (number > INT_MAX) number = INT_MAX;
          ++pos_;
        }
        any_ = true;
        return true;
      }
      ++pos_;
      if (c == '.' && !any_) {
        number = 0;
        any_ = true;
        return true;
      }
    }
    return false;
  }

 private:
  const char* text_;
  int pos_ = 0;
  bool any_ = false;
};

// The last letter of the text (a letter right behind a number or anywhere else), 0 when none.
int SuffixLetter(const char* text) {
  int suffix = 0;
  for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
    if (IsLetter(*p)) suffix = static_cast<unsigned char>(*p);
  }
  return suffix;
}

}  // namespace

int CompareVersionText(const char* a, const char* b) {
  VersionNumbers left(a);
  VersionNumbers right(b);
  for (;;) {
    int64_t x = 0;
    int64_t y = 0;
    bool hasX = left.Next(x);
    bool hasY = right.Next(y);
    if (!hasX) return hasY ? -1 : SuffixLetter(a) - SuffixLetter(b);
    if (!hasY) return 1;
    if (x != y) return int(x - y);  // both within 0..INT_MAX, so the difference fits
  }
}
