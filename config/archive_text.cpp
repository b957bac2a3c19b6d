// Archive texts as formats: reading their conversions, and formatting one conversion at a time
// with the argument of its kind, so that no conversion can ever meet an argument of another kind.
#include "config/archive_text.h"

#include <cstring>

#include "config/formatted_texts.h"

namespace {

// Bounds on a conversion's parts: a width of 999 is more than any message needs, and a bounded
// width keeps a hostile text from asking for gigabytes of padding.
constexpr int kMostFlags = 4;
constexpr int kMostDigits = 3;
// '%', the flags, width, '.', precision, the conversion letter and the NUL.
constexpr int kLongestSpec = 1 + kMostFlags + kMostDigits + 1 + kMostDigits + 1 + 1;

// One conversion of a text.
struct Conversion {
  char kind = 0;                 // 'd', 'c' or 's'; 0 for a conversion that may not be used
  char spec[kLongestSpec] = {};  // "%-20s": the conversion as printf takes it
  const char* end = nullptr;     // just after it
};

bool DigitsAt(const char*& p) {
  int digits = 0;
  while (*p >= '0' && *p <= '9') {
    if (++digits > kMostDigits) return false;
    ++p;
  }
  return true;
}

// The conversion whose '%' is at `start` (not the first of "%%").
Conversion ReadConversion(const char* start) {
  Conversion c;
  const char* p = start + 1;
  const char* flags = p;
  while (*p && std::strchr("-+ #0", *p)) ++p;
  const int flagCount = int(p - flags);
  const bool onlyMinus = std::strspn(flags, "-") >= size_t(flagCount);
  bool valid = flagCount <= kMostFlags && DigitsAt(p);
  bool precision = false;
  if (valid && *p == '.') {
    precision = true;
    ++p;
    valid = DigitsAt(p);
  }
  const char letter = *p;
  c.end = letter ? p + 1 : p;
  if (!valid || letter == 0) return c;
  const bool alternate = std::memchr(flags, '#', size_t(flagCount)) != nullptr;
  if (std::strchr("diu", letter)) {
    if (!alternate) c.kind = 'd';
  } else if (std::strchr("xXo", letter)) {
    c.kind = 'd';
  } else if (letter == 'c') {
    if (onlyMinus && !precision) c.kind = 'c';
  } else if (letter == 's') {
    if (onlyMinus) c.kind = 's';
  }
  if (c.kind != 0) {
    const size_t length = size_t(c.end - start);
    std::memcpy(c.spec, start, length);
    c.spec[length] = 0;
  }
  return c;
}

// Walks a text: literal runs go to `literal` ("%%" as one '%'), conversions to `conversion`;
// false as soon as either refuses.
template <class Literal, class Each>
bool WalkText(const char* text, Literal literal, Each conversion) {
  if (text == nullptr) return true;
  const char* run = text;
  const char* p = text;
  while (*p) {
    if (*p != '%') {
      ++p;
      continue;
    }
    literal(run, int(p - run));
    if (p[1] == '%') {
      literal(p, 1);
      p += 2;
    } else {
      Conversion c = ReadConversion(p);
      if (c.kind == 0 || !conversion(c)) return false;
      p = c.end;
    }
    run = p;
  }
  literal(run, int(p - run));
  return true;
}

}  // namespace

bool HasConversions(const char* text, const char* conversions) {
  char wanted[64];
  int wantedCount = 0;
  auto ignore = [](const char*, int) {};
  if (!WalkText(conversions, ignore, [&](const Conversion& c) {
        if (wantedCount == int(sizeof wanted)) return false;
        wanted[wantedCount++] = c.kind;
        return true;
      })) {
    return false;
  }
  int seen = 0;
  return WalkText(
             text, ignore,
             [&](const Conversion& c) { return seen < wantedCount && wanted[seen++] == c.kind; }) &&
         seen == wantedCount;
}

bool FormatWithArgs(const char* text, ArchiveTextArgs args, String& out) {
  String result;
  const ArchiveTextArg* next = args.begin();
  const bool formatted = WalkText(
      text, [&](const char* run, int n) { result.Append(run, n); },
      [&](const Conversion& c) {
        if (next == args.end() || next->Kind() != c.kind) return false;
        if (c.kind == 's') {
          result.AppendFormat(c.spec, next->Text());
        } else {
          result.AppendFormat(c.spec, next->Number());
        }
        ++next;
        return true;
      });
  if (!formatted || next != args.end()) return false;
  out = static_cast<String&&>(result);
  return true;
}

bool FormatArchiveTextFrom(const char* text, StringId id, ArchiveTextArgs args, String& out) {
  const FormattedTextId* entry = FindFormattedText(id);
  if (entry == nullptr) return false;
  if (HasConversions(text, entry->conversions) && FormatWithArgs(text, args, out)) return true;
  return HasConversions(entry->builtIn, entry->conversions) &&
         FormatWithArgs(entry->builtIn, args, out);
}
