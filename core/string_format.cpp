// String: formatting with printf conventions.
#include <cstdarg>
#include <cstdio>

#include "core/memory.h"
#include "core/string.h"

namespace {

// Most formatted texts are short; they are produced on the stack. Longer ones get a heap block
// of the exact size, so any length up to the work-buffer size (and beyond) comes out whole.
constexpr int kStackBuffer = 512;
// Some C runtimes report truncation as -1 instead of the needed size; a second attempt with a
// work buffer of this size tells truncation from a real formatting fault.
constexpr int kWorkBuffer = 65536;

// Appends the formatted text to out; a text the C runtime cannot produce is appended as the
// format text itself.
void AppendFormatted(String& out, const char* fmt, va_list args) {
  if (fmt == nullptr) return;
  char small[kStackBuffer];
  va_list attempt;
  va_copy(attempt, args);
  int n = std::vsnprintf(small, sizeof small, fmt, attempt);
  va_end(attempt);
  if (n >= 0 && n < kStackBuffer) {
    out.Append(small, n);
    return;
  }
  int size = n >= 0 ? n + 1 : kWorkBuffer;
  char* block = static_cast<char*>(MemAllocate(size_t(size)));
  va_copy(attempt, args);
  int produced = std::vsnprintf(block, size_t(size), fmt, attempt);
  va_end(attempt);
  if (produced >= 0 && produced < size) {
    out.Append(block, produced);
  } else {
    out.Append(fmt);
  }
  MemFree(block);
}

}  // namespace

String& String::FormatV(const char* fmt, va_list args) {
  // The arguments may point into this string: format into a fresh one first.
  String result;
  AppendFormatted(result, fmt, args);
  *this = static_cast<String&&>(result);
  return *this;
}

String& String::AppendFormatV(const char* fmt, va_list args) {
  String piece;
  AppendFormatted(piece, fmt, args);
  Append(piece);
  return *this;
}

String& String::Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  FormatV(fmt, args);
  va_end(args);
  return *this;
}

String& String::AppendFormat(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  AppendFormatV(fmt, args);
  va_end(args);
  return *this;
}

String String::Formatted(const char* fmt, ...) {
  String result;
  va_list args;
  va_start(args, fmt);
  AppendFormatted(result, fmt, args);
  va_end(args);
  return result;
}
