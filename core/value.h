// Value: the tagged value in which registry values and run-time-typed settings travel. It holds
// nothing, a truth value, an integer of a stated width and signedness, a floating number, a text,
// a date, a date and time, or a time, and reads or converts itself into any other kind by fixed
// rules, so that the same stored content always yields the same number, text or date.
//
// The declared kind (Type) says what the value means; the storage says which one field holds the
// content. Readers go by storage only, so for example every integer kind reads alike. No reader
// fails: what cannot be read gives 0, false, the empty text or the empty calendar value.
#pragma once

#include <cstdint>

#include "core/date_time.h"
#include "core/string.h"

class Value {
 public:
  // Declared kinds, the tag kept in Type().
  enum Kind : int32_t {
    kEmpty = 0,
    kBool = 1,      // 0 or 1
    kInt8 = 2,
    kUInt8 = 3,
    kInt16 = 4,
    kUInt16 = 5,
    kInt32 = 6,
    kUInt32 = 7,
    kInt64 = 8,
    kUInt64 = 9,
    kFloat = 10,    // single precision, held as a double
    kDouble = 11,
    kText = 12,
    kDate = 13,     // the date part of the calendar
    kDateTime = 14,
    kTime = 15,     // the time part of the calendar
    kUInt32B = 16,  // unsigned 32-bit, kept apart from kUInt32 by its tag alone
  };
  static constexpr int32_t kLastKind = kUInt32B;

  // Which field holds the content.
  enum StorageKind : int32_t {
    kNoStorage = 0,
    kIntegerStorage = 1,  // signed kinds sign-extended, unsigned kinds zero-extended
    kRealStorage = 2,
    kTextStorage = 3,
    kCalendarStorage = 4,
  };

  // Empty, with an empty text and an empty calendar (date all 0, time all -1).
  Value() = default;

  int32_t Type() const { return type_; }
  StorageKind Storage() const { return StorageKind(storage_); }

  // Setters, one per kind; each sets the kind and the storage. The unsigned 64-bit kind keeps
  // the bit pattern in the signed field, so values from 2^63 on read back negative.
  void SetBool(bool value);
  void SetInt8(int8_t value);
  void SetUInt8(uint8_t value);
  void SetInt16(int16_t value);
  void SetUInt16(uint16_t value);
  void SetInt32(int32_t value);
  void SetUInt32(uint32_t value);
  void SetInt64(int64_t value);
  void SetUInt64(uint64_t value);
  void SetFloat(float value);
  void SetDouble(double value);
  void SetUInt32B(uint32_t value);
  // Text from a String (every counted byte), from a NUL-terminated text (null is empty), or from
  // n raw bytes that may include NULs (n < 1 or null data give the empty text).
  void SetText(const String& text);
  void SetText(const char* text);
  void SetText(const char* data, int n);
  // A date, a date and time, or a time. The part a kind does not use is emptied, so a date
  // carries no time and a time no date. The field forms store the numbers as given (no
  // two-digit year expansion: that belongs to reading texts) and compute the day number.
  void SetDate(const Date& date);
  void SetDate(int32_t month, int32_t day, int32_t year);
  void SetDateTime(const DateTime& dateTime);
  void SetDateTime(int32_t month, int32_t day, int32_t year, int32_t hour, int32_t minute,
                   int32_t second);
  void SetTime(const Time& time);
  void SetTime(int32_t hour, int32_t minute, int32_t second);
  // Back to empty; the text's buffer is released.
  void Clear();

  bool IsEmpty() const { return type_ == kEmpty; }
  bool IsInteger() const { return storage_ == kIntegerStorage; }
  // Integer 0, real 0.0, the empty text; a date kind with an invalid date, a date-and-time kind
  // with an invalid date or time, a time kind with an invalid time; nothing at all.
  bool IsZero() const;

  // Readers. Integer storage gives the low bits of the value. Real storage is first truncated
  // toward zero to a 64-bit integer (NaN gives 0; beyond the 64-bit range the nearest limit) and
  // then read like that integer, so the signed readers carry the bits of the unsigned kinds
  // (a real 65535 reads as -1 through ToInt16). Text storage reads the number at the start of
  // the text: an optional sign and decimal digits, no whitespace skipped, wrapping without an
  // overflow check, 0 when there are no digits. Calendar storage gives the day number to the
  // 32- and 64-bit readers and 0 to the others. See each reader for its exceptions.
  bool ToBool() const;      // != 0; text: String::ToBool; calendar: the kind's parts are valid
  int8_t ToInt8() const;    // text: the code of the first character (0 for the empty text)
  uint8_t ToUInt8() const;
  int16_t ToInt16() const;
  int32_t ToInt32() const;
  int64_t ToInt64() const;  // text: the whole digit run, wrapping modulo 2^64
  // Integer and real storage give the value (beyond the float range, an infinity of its sign);
  // text gives the whole number at its start, not its fraction; calendar gives 0.
  float ToFloat() const;
  // Text: an optional sign, digits, and an optional '.' with fraction digits (digits on one
  // side of the point suffice); no exponent, no whitespace. Calendar gives 0.
  double ToDouble() const;

  // Integer storage: the signed 64-bit decimal text (unsigned kinds too). Real storage:
  // FormatDecimal(value, -1) ("2.5", "3"). Text storage: the text. Calendar storage: "m/d/yy" for
  // a valid date, "HH:ii:ss" for a valid time, both joined by a space for a date and time whose
  // parts are both valid (3/5/2003 14:07:09), the empty text when the kind's parts are invalid.
  String ToText() const;
  // The text field itself; when the storage is not text it is first filled with ToText(). The
  // kind and storage stay as they were.
  const String& TextRef();

  // Text storage: Date::ParseExpanded (month first); calendar storage: the date part; integer
  // storage of kInt32, kUInt32 or kInt64: the low 32 bits as a day number; otherwise empty.
  Date ToDate() const;
  // Text storage: DateTime::Parse (month first); calendar storage: the whole calendar;
  // otherwise the empty date and time.
  DateTime ToDateTime() const;
  // Text storage: Time::Parse; calendar storage: the time part; otherwise the empty time.
  Time ToTime() const;

  // Reads the value with the reader of the target kind and stores the result as that kind
  // (the unsigned kinds take the bits of the signed reader of their width). A target equal to
  // the current kind, kUInt64, and a number outside 0..kLastKind change nothing.
  void ConvertTo(int32_t type);

 private:
  void SetInteger(Kind kind, int64_t value);
  void SetReal(Kind kind, double value);
  void SetCalendar(Kind kind, const DateTime& calendar);
  // Integer storage as stored, real storage truncated (see the readers), anything else 0: what
  // every integer reader narrows when the storage holds a number.
  int64_t WholeNumber() const;
  // ParseNumber at the start of the text, without flags.
  int32_t LeadingTextNumber() const;

  int32_t type_ = kEmpty;
  int32_t storage_ = kNoStorage;
  int64_t integer_ = 0;
  double real_ = 0.0;
  String text_;
  DateTime calendar_;
};
