// Time::Parse: "13:05", "1:05pm", "1:05:30 PM", "12:30am".
#include "core/date_time.h"
#include "core/string_chars.h"
#include "core/text_cursor.h"

bool Time::Parse(const String& text, int start) {
  Clear();
  TextCursor cursor{text, start};
  cursor.SkipWhitespace();
  if (!string_chars::IsDigit(cursor.Peek())) return false;

  const int32_t readHour = cursor.ReadNumber();
  if (!cursor.SkipOneOf(":")) return false;
  const int32_t readMinute = cursor.ReadNumber();
  cursor.SkipWhitespace();

  int32_t readSecond = 0;
  if (cursor.SkipOneOf(":")) readSecond = cursor.ReadNumber();
  cursor.SkipWhitespace();
  // "pm" moves a morning hour into the afternoon; "am" changes nothing, so that "12:30am" keeps
  // hour 12.
  const bool afternoon = cursor.Peek() == 'p' || cursor.Peek() == 'P';
  Set(afternoon && readHour < 12 ? readHour + 12 : readHour, readMinute, readSecond);
  return !IsInvalid();
}
