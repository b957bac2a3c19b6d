// Date::Parse and DateTime::Parse: dates written with numbers ("3/2/2003", "25-12-03", "3/2003")
// or with names ("Monday, March 3rd, 2003", "25 Dec 2003", "March 2003").
#include <cstring>

#include "core/date_time.h"
#include "core/string_chars.h"
#include "core/text_cursor.h"

using string_chars::IsLetter;

namespace {

constexpr char kDateSeparators[] = "/.-";
constexpr int kAbbreviationLength = 3;

// Skips a name at the cursor, written in full or by its first three letters, ignoring case.
bool SkipName(TextCursor& cursor, const char* name) {
  const int length = int(std::strlen(name));
  if (cursor.LooksAt(name, length)) {
    cursor.pos += length;
    return true;
  }
  if (cursor.LooksAt(name, kAbbreviationLength)) {
    cursor.pos += kAbbreviationLength;
    return true;
  }
  return false;
}

// The month (1..12) whose name is at the cursor, skipped; 0 when there is none.
int ReadMonthName(TextCursor& cursor) {
  for (int month = 1; month <= 12; ++month) {
    if (SkipName(cursor, MonthNameOf(month))) return month;
  }
  return 0;
}

void SkipWeekdayName(TextCursor& cursor) {
  for (int weekday = 1; weekday <= 7; ++weekday) {
    if (SkipName(cursor, WeekdayNameOf(weekday))) {
      cursor.SkipOneOf(",");
      cursor.SkipWhitespace();
      return;
    }
  }
}

// In any case, like the month and weekday names: in "MARCH 3RD 2003" the "RD" is the day's
// suffix; left in place it would end the year's digits before they start and turn the date into
// March of the year 3.
void SkipOrdinalSuffix(TextCursor& cursor) {
  static constexpr const char* kSuffixes[] = {"st", "nd", "rd", "th"};
  for (const char* suffix : kSuffixes) {
    if (cursor.LooksAt(suffix, 2)) {
      cursor.pos += 2;
      return;
    }
  }
}

struct ParsedDate {
  int month = 0;
  int day = 0;
  int year = 0;
};

// "25 Dec 2003", "25-Dec-03" (a day, then a month name) or "3/2/2003", "3-2-03", "3/2003"
// (numbers only). False when the text is neither.
bool ParseNumericFirst(TextCursor& cursor, bool dayFirst, ParsedDate& date) {
  const int first = cursor.ReadNumber();
  if (first == 0) return false;
  cursor.SkipWhitespace();
  const bool separated = cursor.SkipOneOf(kDateSeparators);

  if (IsLetter(cursor.Peek())) {
    date.day = first;
    date.month = ReadMonthName(cursor);
    if (date.month == 0) return false;
    if (!cursor.SkipOneOf(kDateSeparators)) cursor.SkipWhitespace();
    date.year = cursor.ReadNumber();
    return true;
  }

  if (!separated) return false;
  const int second = cursor.ReadNumber();
  if (second == 0) return false;
  if (cursor.SkipOneOf(kDateSeparators)) {
    date.month = dayFirst ? second : first;
    date.day = dayFirst ? first : second;
    date.year = cursor.ReadNumber();
  } else {
    // Two numbers only: a month and a year.
    date.month = first;
    date.day = 1;
    date.year = second;
  }
  return true;
}

// "March 2nd, 2003", "Mar 2 2003", "March 2003".
bool ParseMonthNameFirst(TextCursor& cursor, ParsedDate& date) {
  date.month = ReadMonthName(cursor);
  if (date.month == 0) return false;
  cursor.SkipWhitespace();
  date.day = cursor.ReadNumber();
  if (date.day == 0) return false;
  const int afterDay = cursor.pos;
  SkipOrdinalSuffix(cursor);
  cursor.SkipOneOf(",");
  cursor.SkipWhitespace();
  date.year = cursor.ReadNumber();
  if (date.year < 1 || cursor.Peek() == ':') {
    // A month and a year; what followed (nothing, or the hour of a time) is not the date's.
    date.year = date.day;
    date.day = 1;
    cursor.pos = afterDay;
  }
  return true;
}

int ParseDate(Date& result, const String& text, bool dayFirst, int start, bool expandYear) {
  result.Clear();
  if (start < 0 || start > text.Length()) return -1;
  TextCursor cursor{text, start};
  cursor.SkipWhitespace();
  if (cursor.AtEnd()) return -1;

  if (IsLetter(cursor.Peek())) SkipWeekdayName(cursor);
  ParsedDate date;
  bool read = IsLetter(cursor.Peek()) ? ParseMonthNameFirst(cursor, date)
                                      : ParseNumericFirst(cursor, dayFirst, date);
  if (!read) return -1;
  if (expandYear) {
    result.SetMDYExpanded(date.month, date.day, date.year);
  } else {
    result.SetMDY(date.month, date.day, date.year);
  }
  return cursor.pos;
}

}  // namespace

int Date::Parse(const String& text, bool dayFirst, int start) {
  return ParseDate(*this, text, dayFirst, start, false);
}

int Date::ParseExpanded(const String& text, bool dayFirst, int start) {
  return ParseDate(*this, text, dayFirst, start, true);
}

bool DateTime::Parse(const String& text, bool dayFirst) {
  Clear();
  int end = date.Parse(text, dayFirst);
  const bool haveDate = end >= 0;
  TextCursor cursor{text, haveDate ? end : 0};
  if (haveDate) cursor.SkipOneOf(",");
  const bool haveTime = time.Parse(text, cursor.pos);
  return haveDate || haveTime;
}
