// Value: the setters, the emptiness and zero tests, and conversion between kinds.
#include "core/value.h"

void Value::SetInteger(Kind kind, int64_t value) {
  type_ = kind;
  storage_ = kIntegerStorage;
  integer_ = value;
}

void Value::SetReal(Kind kind, double value) {
  type_ = kind;
  storage_ = kRealStorage;
  real_ = value;
}

void Value::SetCalendar(Kind kind, const DateTime& calendar) {
  type_ = kind;
  storage_ = kCalendarStorage;
  calendar_ = calendar;
}

void Value::SetBool(bool value) { SetInteger(kBool, value ? 1 : 0); }
void Value::SetInt8(int8_t value) { SetInteger(kInt8, value); }
void Value::SetUInt8(uint8_t value) { SetInteger(kUInt8, value); }
void Value::SetInt16(int16_t value) { SetInteger(kInt16, value); }
void Value::SetUInt16(uint16_t value) { SetInteger(kUInt16, value); }
void Value::SetInt32(int32_t value) { SetInteger(kInt32, value); }
void Value::SetUInt32(uint32_t value) { SetInteger(kUInt32, value); }
void Value::SetInt64(int64_t value) { SetInteger(kInt64, value); }
// The bit pattern is kept (modular conversion, never an overflow).
void Value::SetUInt64(uint64_t value) { SetInteger(kUInt64, int64_t(value)); }
void Value::SetUInt32B(uint32_t value) { SetInteger(kUInt32B, value); }
void Value::SetFloat(float value) { SetReal(kFloat, value); }
void Value::SetDouble(double value) { SetReal(kDouble, value); }

void Value::SetText(const String& text) {
  type_ = kText;
  storage_ = kTextStorage;
  text_.Assign(text);
}

void Value::SetText(const char* text) {
  type_ = kText;
  storage_ = kTextStorage;
  text_.Assign(text);
}

void Value::SetText(const char* data, int n) {
  type_ = kText;
  storage_ = kTextStorage;
  if (data == nullptr || n < 1) {
    text_.Clear();
  } else {
    text_.Assign(data, n);
  }
}

void Value::SetDate(const Date& date) {
  DateTime calendar;
  calendar.date = date;
  SetCalendar(kDate, calendar);
}

void Value::SetDate(int32_t month, int32_t day, int32_t year) {
  Date date;
  date.SetMDY(month, day, year);
  SetDate(date);
}

void Value::SetDateTime(const DateTime& dateTime) { SetCalendar(kDateTime, dateTime); }

void Value::SetDateTime(int32_t month, int32_t day, int32_t year, int32_t hour, int32_t minute,
                        int32_t second) {
  DateTime calendar;
  calendar.date.SetMDY(month, day, year);
  calendar.time.Set(hour, minute, second);
  SetCalendar(kDateTime, calendar);
}

void Value::SetTime(const Time& time) {
  DateTime calendar;
  calendar.time = time;
  SetCalendar(kTime, calendar);
}

void Value::SetTime(int32_t hour, int32_t minute, int32_t second) {
  Time time;
  time.Set(hour, minute, second);
  SetTime(time);
}

void Value::Clear() {
  type_ = kEmpty;
  storage_ = kNoStorage;
  text_.Clear();
}

bool Value::IsZero() const {
  switch (storage_) {
    case kIntegerStorage:
      return integer_ == 0;
    case kRealStorage:
      return real_ == 0.0;
    case kTextStorage:
      return text_.IsEmpty();
    case kCalendarStorage:
      // Exactly the calendar values that read as false.
      return !ToBool();
    default:
      return true;
  }
}

void Value::ConvertTo(int32_t type) {
  // kUInt64 has no reader of its own to convert through, so it is never a target.
  if (type == type_ || type < kEmpty || type > kLastKind || type == kUInt64) return;
  switch (type) {
    case kEmpty:
      Clear();
      break;
    case kBool:
      SetBool(ToBool());
      break;
    case kInt8:
      SetInt8(ToInt8());
      break;
    case kUInt8:
      SetUInt8(ToUInt8());
      break;
    case kInt16:
      SetInt16(ToInt16());
      break;
    case kUInt16:
      SetUInt16(uint16_t(ToInt16()));
      break;
    case kInt32:
      SetInt32(ToInt32());
      break;
    case kUInt32:
      SetUInt32(uint32_t(ToInt32()));
      break;
    case kInt64:
      SetInt64(ToInt64());
      break;
    case kFloat:
      SetFloat(ToFloat());
      break;
    case kDouble:
      SetDouble(ToDouble());
      break;
    case kText:
      SetText(ToText());
      break;
    case kDate:
      SetDate(ToDate());
      break;
    case kDateTime:
      SetDateTime(ToDateTime());
      break;
    case kTime:
      SetTime(ToTime());
      break;
    case kUInt32B:
      SetUInt32B(uint32_t(ToInt32()));
      break;
    default:
      break;
  }
}
