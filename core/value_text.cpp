// Value: the text form of every kind, and the text field as a reference.
#include "core/number_words.h"
#include "core/value.h"

namespace {

// Calendar texts always use these fixed patterns, not the replaceable default formats: a value's
// text must read back as the same date and time whatever the display settings are.
constexpr const char* kDatePattern = "m/d/yy";
constexpr const char* kTimePattern = "HH:ii:ss";
constexpr const char* kDateTimePattern = "m/d/yy HH:ii:ss";

String CalendarText(int32_t type, const DateTime& calendar) {
  const bool dateValid = calendar.date.IsValid();
  const bool timeValid = calendar.time.IsValid();
  if (type == Value::kDate && dateValid) return calendar.date.Format(kDatePattern);
  if (type == Value::kDateTime) {
    if (dateValid && timeValid) return calendar.Format(kDateTimePattern);
    if (dateValid) return calendar.date.Format(kDatePattern);
    if (timeValid) return calendar.time.Format(kTimePattern);
  }
  if (type == Value::kTime && timeValid) return calendar.time.Format(kTimePattern);
  return String();
}

}  // namespace

String Value::ToText() const {
  switch (storage_) {
    case kIntegerStorage:
      return String::FromInt64(integer_);
    case kRealStorage:
      return FormatDecimal(real_, -1);
    case kTextStorage:
      return text_;
    case kCalendarStorage:
      return CalendarText(type_, calendar_);
    default:
      return String();
  }
}

const String& Value::TextRef() {
  if (storage_ != kTextStorage) text_ = ToText();
  return text_;
}
