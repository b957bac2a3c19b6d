// String: formatting with printf conventions.
#include <cstdarg>

#include "core/print_format.h"
#include "core/string.h"

namespace {

void PutInString(void* context, const char* text, int length) {
  static_cast<String*>(context)->Append(text, length);
}

// The formatted text; a format the formatter cannot make gives the format text itself.
String FormattedText(const char* fmt, va_list args) {
  String text;
  if (fmt != nullptr && !PrintFormatted(PutInString, &text, fmt, args)) text = fmt;
  return text;
}

}  // namespace

String& String::FormatV(const char* fmt, va_list args) {
  // The arguments may point into this string: it is replaced only once the text is made.
  *this = FormattedText(fmt, args);
  return *this;
}

String& String::AppendFormatV(const char* fmt, va_list args) {
  Append(FormattedText(fmt, args));
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
  va_list args;
  va_start(args, fmt);
  String result = FormattedText(fmt, args);
  va_end(args);
  return result;
}
