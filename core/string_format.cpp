// String: formatting with printf conventions.
#include <cstdarg>

#include "core/print_format.h"
#include "core/string.h"

namespace {

void PutInString(void* context, const char* text, int length) {
  static_cast<String*>(context)->Append(text, length);
}

// Appends the formatted text to out; a format the formatter cannot make is appended as the
// format text itself.
void AppendFormatted(String& out, const char* fmt, va_list args) {
  if (fmt == nullptr) return;
  String piece;
  if (PrintFormatted(PutInString, &piece, fmt, args)) {
    out.Append(piece);
  } else {
    out.Append(fmt);
  }
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
