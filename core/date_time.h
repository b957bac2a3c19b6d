// Calendar values of local wall-clock time: Date (a day number with its calendar fields), Time
// (a time of day), DateTime (both), their texts, and the decimal-number reader the date parsers
// use. All fields are signed 32-bit numbers. Nothing here fails fatally: an unreadable text gives
// the empty value and a failure result.
#pragma once

#include <cstdint>

#include "core/string.h"

// Flags of ParseNumber.
constexpr int kNumberSkipLeadingSpace = 0x01;   // skip whitespace before the number
constexpr int kNumberSkipTrailingSpace = 0x02;  // skip whitespace after it (and after the comma)
constexpr int kNumberUnsigned = 0x04;           // a leading '+' or '-' is not a sign
constexpr int kNumberMissingIsMin = 0x08;       // no digits gives 0x80000000 instead of 0
constexpr int kNumberSkipComma = 0x10;          // skip one ',' after the number

// Reads a decimal number from text at pos and moves pos past what it read. At least one digit is
// required; without one the result is 0 (0x80000000 with kNumberMissingIsMin) and pos is left
// where it was. The value wraps modulo 2^32 (there is no overflow check). Never reads at or past
// text.Length(); a pos outside the text reads nothing.
int32_t ParseNumber(const String& text, int& pos, int flags = 0);

// Default patterns of the Format functions, used when the pattern given is empty. Process-wide
// and replaceable at run time; initially "m/d/y", "m/d/y h:ii:ssap" and "h:ii:ssap".
extern String DefaultDateFormat;
extern String DefaultDateTimeFormat;
extern String DefaultTimeFormat;

// Weekday names 1 (Sunday) to 7 (Saturday) and month names 1 (January) to 12; an index out of
// range gives the empty text.
const char* WeekdayNameOf(int weekday);
const char* MonthNameOf(int month);

struct Date {
  int32_t dayNumber = 0;  // Julian Day Number - 1 (1 January 2000 is 2,451,544); 0 = no date
  int32_t month = 0;      // 1..12
  int32_t day = 0;        // 1..31
  int32_t year = 0;       // full year; the year before 1 is -1 (a written 0 means -1 too)
  int32_t weekday = 0;    // 1 = Sunday .. 7 = Saturday; 0 = no date

  // All five fields 0.
  void Clear();

  // Stores the three fields as given and computes dayNumber and weekday from them (Julian
  // calendar before 15 October 1582, Gregorian from then on). A month below 1 computes nothing:
  // dayNumber and weekday keep their values.
  void SetMDY(int32_t month, int32_t day, int32_t year);
  // SetMDY after ExpandYear.
  void SetMDYExpanded(int32_t month, int32_t day, int32_t year);
  // Stores n and computes month, day, year and weekday; 0 empties the date.
  void SetDayNumber(int32_t n);

  // The local date from the clock (see core/clock.h).
  static Date Today();

  // True when month is outside 1..12, weekday outside 1..7, day < 1 or day beyond the month.
  bool IsInvalid() const;
  bool IsValid() const { return !IsInvalid(); }

  // Days of the month from the table (February 29 in a leap year); 0 for a month outside 1..12.
  static int DaysInMonth(int32_t month, int32_t year);
  // From 1582 on: divisible by 4 and (not by 100, or by 400). Before 1582: divisible by 4.
  static bool IsLeapYear(int32_t year);

  // A year below 101 moved into the century nearest the clock's current year (in 2003: 99 gives
  // 1999, 5 gives 2005, 53 gives 2053); other years unchanged.
  static int32_t ExpandYear(int32_t year);

  // -1, 0 or 1. Two invalid dates are equal; an invalid date is before a valid one; otherwise by
  // dayNumber.
  static int Compare(const Date& a, const Date& b);

  // Reads a date from text at start: "Monday, March 3rd, 2003", "March 2nd, 2003", "3/2/2003",
  // "3-2-03", "3.2.2003", "3/2003", "25 Dec 2003", "March 2003" and the like (month first unless
  // dayFirst). Returns the position after the date, or -1 with the date emptied. A form that reads
  // but names no real day (13/45/2003) gives a date that IsInvalid reports. Parse keeps the year
  // as written; ParseExpanded expands a two-digit year first.
  int Parse(const String& text, bool dayFirst, int start = 0);
  int ParseExpanded(const String& text, bool dayFirst, int start = 0);

  // The date through the pattern codes d dd D DD m mm M MM w ww W WW y yy Y YY; every other
  // character is copied. An empty pattern uses DefaultDateFormat.
  String Format(const String& pattern) const;

  // "Sunday".."Saturday" and "January".."December"; empty when out of range.
  String WeekdayName() const;
  String MonthName() const;
};

struct Time {
  int32_t hour = -1;    // 0..23
  int32_t minute = -1;  // 0..59
  int32_t second = -1;  // 0..59

  // All three fields -1.
  void Clear();
  void Set(int32_t hour, int32_t minute, int32_t second);

  // The local time of day from the clock (see core/clock.h).
  static Time Now();

  // True when hour is outside 0..23 or minute or second outside 0..59.
  bool IsInvalid() const;
  bool IsValid() const { return !IsInvalid(); }
  bool IsAM() const { return hour < 12; }
  // The hour on the 12-hour clock: 0 gives 12, 13..23 give hour - 12, anything else is unchanged.
  int32_t Hour12() const;

  // -1, 0 or 1. Two invalid times are equal; an invalid time is before a valid one; otherwise by
  // hour, then minute, then second.
  static int Compare(const Time& a, const Time& b);

  // Reads "h:mm", "h:mm:ss", each optionally followed by "am"/"pm" ("1:05pm", "13:05:00",
  // "12:30 am") from text at start. True when the result is a valid time; a text that does not
  // start (after whitespace) with a digit empties the time and fails.
  bool Parse(const String& text, int start = 0);

  // The time through the codes h hh H HH i ii s ss AP ap; every other character is copied. An
  // empty pattern uses DefaultTimeFormat.
  String Format(const String& pattern) const;
};

struct DateTime {
  Date date;
  Time time;

  // The empty date (all 0) and the empty time (all -1).
  void Clear();
  // The date with two-digit year expansion, and the time.
  void Set(int32_t month, int32_t day, int32_t year, int32_t hour, int32_t minute,
           int32_t second);

  // The local date and time from the clock, to the second.
  static DateTime Now();

  // -1, 0 or 1: dates first (Date::Compare), then times (Time::Compare).
  static int Compare(const DateTime& a, const DateTime& b);
  static int CompareDateOnly(const DateTime& a, const DateTime& b);

  // Reads a date (Date::Parse, year as written), skips one ',' after it, then reads a time from
  // the rest; when no date is found the time is read from the start. A part not found is left
  // empty. True when a date was read or the time read is valid.
  bool Parse(const String& text, bool dayFirst);

  // The date and time through every date and time code; an empty pattern uses
  // DefaultDateTimeFormat.
  String Format(const String& pattern) const;
  static String FormatNow(const String& pattern);
};
